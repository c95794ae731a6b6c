#include "views/SourceText.h"

#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QTextBlock>

namespace tessaly::ui {

namespace {

const QColor kMarginBackground(240, 240, 240);
const QColor kBreakPoint(200, 30, 30);
const QColor kCodeLine(170, 170, 170);
const QColor kCurrentLine(255, 238, 120);
const QColor kCallerLine(200, 235, 200);
const QColor kArrow(230, 160, 0);
const QColor kCallerArrow(60, 150, 60);

bool Flag(const std::vector<bool>& lines, int line) {
    return line >= 1 && static_cast<std::size_t>(line) <= lines.size() && lines[static_cast<std::size_t>(line - 1)];
}

}  // namespace

class SourceMargin : public QWidget {
public:
    explicit SourceMargin(SourceText& text) : QWidget(&text), text_(text) {
        setObjectName(QStringLiteral("pnlMargin"));
        setCursor(Qt::PointingHandCursor);
        setToolTip(QStringLiteral("Click to set or clear a break point"));
    }
    QSize sizeHint() const override { return {text_.MarginWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* event) override { text_.PaintMargin(event); }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return;
        const int line = text_.LineAt(event->position().toPoint().y());
        if (line > 0) emit text_.marginClicked(line);
    }

private:
    SourceText& text_;
};

SourceText::SourceText(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("mmoSource"));
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 8);
    margin_ = new SourceMargin(*this);
    setViewportMargins(MarginWidth(), 0, 0, 0);
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
        if (dy != 0) margin_->scroll(0, dy);
        else margin_->update(0, rect.y(), margin_->width(), rect.height());
    });
    connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { setViewportMargins(MarginWidth(), 0, 0, 0); });
}

void SourceText::Load(const QString& text, std::vector<bool> codeLines) {
    codeLines_ = std::move(codeLines);
    breakPoints_.assign(codeLines_.size(), false);
    currentLine_ = 0;
    setExtraSelections({});
    setPlainText(text);
    margin_->update();
}

int SourceText::MarginWidth() const {
    const int digits = QString::number(std::max(1, blockCount())).size();
    const int line = fontMetrics().height();
    // The break point mark, the arrow, the digits and a gap before the text.
    return line + line + fontMetrics().horizontalAdvance(QLatin1Char('9')) * std::max(3, digits) + 6;
}

void SourceText::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    margin_->setGeometry(area.left(), area.top(), MarginWidth(), area.height());
}

int SourceText::LineAt(int y) const {
    QTextBlock block = firstVisibleBlock();
    while (block.isValid()) {
        const QRectF box = blockBoundingGeometry(block).translated(contentOffset());
        if (y >= box.top() && y < box.bottom()) return block.blockNumber() + 1;
        if (box.top() > y) break;
        block = block.next();
    }
    return 0;
}

QRect SourceText::MarginRect(int line) const {
    const QTextBlock block = document()->findBlockByNumber(line - 1);
    if (!block.isValid()) return {};
    const QRectF box = blockBoundingGeometry(block).translated(contentOffset());
    return QRect(0, static_cast<int>(box.top()), margin_->width(), static_cast<int>(box.height()));
}

int SourceText::CursorLine() const { return textCursor().blockNumber() + 1; }

bool SourceText::HasBreakPoint(int line) const { return Flag(breakPoints_, line); }

void SourceText::RepaintMarginLine(int line) {
    const QRect rect = MarginRect(line);
    if (rect.isValid()) margin_->update(rect);
}

void SourceText::SetBreakPoints(const std::vector<bool>& lines) {
    for (int line = 1; line <= static_cast<int>(std::max(lines.size(), breakPoints_.size())); ++line) {
        if (Flag(lines, line) != Flag(breakPoints_, line)) RepaintMarginLine(line);
    }
    breakPoints_ = lines;
}

void SourceText::ShowLine(int line) {
    QScrollBar* bar = verticalScrollBar();
    const int visible = std::max(1, viewport()->height() / std::max(1, fontMetrics().lineSpacing()));
    const int first = bar->value();
    // With no wrapping the scroll bar counts lines.
    if (line - 1 < first || line - 1 >= first + visible - 1) bar->setValue(std::max(0, line - 1 - visible / 3));
}

void SourceText::SetCurrentLine(int line, bool innermost) {
    if (line == currentLine_ && innermost == innermost_) return;
    const int before = currentLine_;
    currentLine_ = line;
    innermost_ = innermost;
    QList<QTextEdit::ExtraSelection> marks;
    const QTextBlock block = document()->findBlockByNumber(line - 1);
    if (line > 0 && block.isValid()) {
        QTextEdit::ExtraSelection mark;
        mark.format.setBackground(innermost ? kCurrentLine : kCallerLine);
        mark.format.setProperty(QTextFormat::FullWidthSelection, true);
        mark.cursor = QTextCursor(block);
        marks.append(mark);
        ShowLine(line);
    }
    setExtraSelections(marks);
    RepaintMarginLine(before);
    RepaintMarginLine(line);
}

void SourceText::PaintMargin(QPaintEvent* event) {
    QPainter painter(margin_);
    painter.fillRect(event->rect(), kMarginBackground);
    painter.setRenderHint(QPainter::Antialiasing);
    const int lineHeight = fontMetrics().height();
    const int markSize = lineHeight - 4;
    QTextBlock block = firstVisibleBlock();
    while (block.isValid()) {
        const QRectF box = blockBoundingGeometry(block).translated(contentOffset());
        if (box.top() > event->rect().bottom()) break;
        const int line = block.blockNumber() + 1;
        const int top = static_cast<int>(box.top());
        if (box.bottom() >= event->rect().top()) {
            const QRect mark(2, top + (lineHeight - markSize) / 2, markSize, markSize);
            if (Flag(breakPoints_, line)) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(kBreakPoint);
                painter.drawEllipse(mark);
            } else if (Flag(codeLines_, line)) {
                painter.setPen(kCodeLine);
                painter.drawLine(mark.center().x() - 2, mark.center().y(), mark.center().x() + 2, mark.center().y());
            }
            if (line == currentLine_) {
                const QRect arrow(lineHeight + 2, mark.top(), markSize, markSize);
                QPainterPath path;
                path.moveTo(arrow.left(), arrow.top() + arrow.height() * 0.25);
                path.lineTo(arrow.center().x(), arrow.top() + arrow.height() * 0.25);
                path.lineTo(arrow.center().x(), arrow.top());
                path.lineTo(arrow.right(), arrow.center().y());
                path.lineTo(arrow.center().x(), arrow.bottom());
                path.lineTo(arrow.center().x(), arrow.top() + arrow.height() * 0.75);
                path.lineTo(arrow.left(), arrow.top() + arrow.height() * 0.75);
                path.closeSubpath();
                painter.setPen(Qt::NoPen);
                painter.setBrush(innermost_ ? kArrow : kCallerArrow);
                painter.drawPath(path);
            }
            painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
            painter.setFont(font());
            painter.drawText(QRect(0, top, margin_->width() - 6, lineHeight), Qt::AlignRight | Qt::AlignVCenter,
                             QString::number(line));
        }
        block = block.next();
    }
}

}  // namespace tessaly::ui
