#pragma once

#include <QPlainTextEdit>
#include <vector>

namespace tessaly::ui {

// A C file as the Source window shows it: read-only text in a fixed-pitch
// font with a margin on its left that numbers the lines, marks the lines
// that have code, the break points (red) and the line the shown frame is at
// (an arrow; the line also stands out across the text). A click in the
// margin asks for a break point on that line.
class SourceText : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit SourceText(QWidget* parent = nullptr);

    // A new file: its text, and which lines have code (index 0 is line 1).
    // Marks and the current line are cleared.
    void Load(const QString& text, std::vector<bool> codeLines);
    // The lines with a break point (index 0 is line 1); repaints the margin
    // only where a mark came or went.
    void SetBreakPoints(const std::vector<bool>& lines);
    bool HasBreakPoint(int line) const;
    // The line the shown frame is at (0: none); `innermost` says whether it
    // is where the PC is (yellow) or where a caller waits (green). Scrolls
    // the line into view when it is not.
    void SetCurrentLine(int line, bool innermost);
    int CurrentLine() const { return currentLine_; }
    // Scrolls so that the line is in view, when it is not.
    void ShowLine(int line);
    // The line of the text cursor, from 1.
    int CursorLine() const;
    // Where line `line` is drawn in the margin (the margin's coordinates).
    QRect MarginRect(int line) const;
    QWidget* Margin() const { return margin_; }

signals:
    void marginClicked(int line);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class SourceMargin;
    int MarginWidth() const;
    void PaintMargin(QPaintEvent* event);
    void RepaintMarginLine(int line);
    int LineAt(int y) const;

    QWidget* margin_;
    std::vector<bool> codeLines_;
    std::vector<bool> breakPoints_;
    int currentLine_ = 0;
    bool innermost_ = true;
};

}  // namespace tessaly::ui
