#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "views/CDebugView.h"

class QComboBox;
class QLabel;
class QPushButton;
class QStackedWidget;

namespace tessaly {
class DebugInfo;
}

namespace tessaly::ui {

class SourceText;

// The Source window: a C file of the program with its line numbers, the
// line the selected frame is at, and the break points in the margin, where a
// click sets or clears one. It follows the selected frame into its file; the
// module chooser shows any other file of the program until the frame moves.
// A file that is not beside the .cdb is asked for by its folder.
class SourceView : public CDebugView {
    Q_OBJECT
public:
    explicit SourceView(CDebugContext& context, QWidget* parent = nullptr);

    void Refresh() override;
    QSize sizeHint() const override;

    // The file shown as the line records name it; empty when none.
    const std::string& File() const { return file_; }
    // The line the selected frame is at in the shown file; 0 when none.
    int CurrentLine() const;
    // Where Run to Cursor goes: the first address of the text cursor's line
    // (or of the next line with code), or why there is none.
    std::variant<std::uint16_t, std::string> CursorAddress() const;
    // The module chooser's command: shows that file of the program.
    void ShowFile(const std::string& recorded);
    // A click in the margin: sets a break point on the line (a line without
    // code gives it to the next line that has some) or clears the line's.
    void ToggleBreakPoint(int line);
    // Asks for the folder that holds the shown file when it was not found.
    void LocateFolder();

    SourceText& Text() { return *text_; }
    QComboBox& Modules() { return *modules_; }
    // Where the selected frame is, as the window's heading says it.
    QString Heading() const;
    // Why the file is not shown; empty while it is.
    QString Missing() const;

private:
    void FillModules(const DebugInfo& info);
    void Load(const std::string& recorded);
    void ShowBreakPoints();
    // The line of the file whose code starts at `address`; 0 when none.
    int LineStartingAt(std::uint16_t address) const;

    CDebugContext& context_;
    QComboBox* modules_;
    QLabel* heading_;
    QStackedWidget* pages_;
    SourceText* text_;
    QLabel* missing_;
    QPushButton* locate_;

    const DebugInfo* info_ = nullptr;
    std::string file_;
    bool found_ = false;
    // Every address where each line of the shown file starts, ascending.
    std::map<int, std::vector<std::uint16_t>> lineStarts_;
    // The frame followed at the last refresh: instructions run, frame, pc.
    std::uint64_t followedInstructions_ = UINT64_MAX;
    std::size_t followedFrame_ = 0;
    std::uint16_t followedPc_ = 0;
    // Missing files asked for once already.
    std::set<std::string> asked_;
};

}  // namespace tessaly::ui
