#pragma once

#include <QColor>

#include <cstdint>
#include <optional>
#include <vector>

#include "control/Location.h"
#include "core/MessageHost.h"
#include "views/ChildView.h"

class QGroupBox;
class QLabel;
class QLineEdit;

namespace tessaly {
class Processor;
}

namespace tessaly::ui {

struct ViewContext;

// The SFR window: the special function registers, R0-R7 of the selected bank
// and the PSW flags, display only. A double-click on a value box or a flag
// (or Enter on it) opens the General Write dialog at that register, at the
// internal RAM byte of that working register, or at that bit; the right-click
// menu of each offers Last Write and Add Data Break Point for that location.
class SfrView : public ChildView {
    Q_OBJECT
public:
    SfrView(ViewContext& context, MessageHost& messages, QWidget* parent = nullptr);

    void Refresh() override;

    // A flag's colour: red when its bit is 1, blue when it is 0.
    static QColor FlagColour(bool set);
    // Whether a value box changed at the last refresh (it is drawn highlighted).
    static bool IsHighlighted(const QLineEdit& box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What a double-click on a component edits.
    enum class Target : std::uint8_t { Register, WorkingRegister, Flag };
    struct Box {
        QLineEdit* edit;
        Target target;
        int digits;
        std::uint16_t (*read)(const Processor& p);  // null for R0-R7
        int workingRegister;                        // 0-7 for R0-R7
        std::optional<std::uint16_t> record;        // its catalogue record, found once
    };
    struct Flag {
        QLabel* label;
        int bit;  // of PSW
        std::optional<std::uint16_t> record;
    };

    void AddBox(QGroupBox* group, const char* name, int digits, std::uint16_t (*read)(const Processor&));
    void AddWorkingRegister(QGroupBox* group, int n);
    void AddFlag(QGroupBox* group, const char* name, int bit);
    void Highlight(QLineEdit& box, bool on);
    void Open(QWidget& component);
    // The location a value box or flag shows; nothing without its record.
    std::optional<Location> LocationOf(const QWidget& component) const;
    void ShowMenu(QWidget& component, const QPoint& at);

    ViewContext& context_;
    MessageHost& messages_;
    std::vector<Box> boxes_;
    std::vector<Flag> flags_;
    bool refreshed_ = false;
    // What each box and flag shows, so a refresh touches only what changed:
    // -1 before the first refresh.
    std::vector<int> shownValues_;
    std::vector<int> shownFlags_;
    std::vector<char> highlighted_;
};

}  // namespace tessaly::ui
