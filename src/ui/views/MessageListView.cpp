#include "views/ToolButtons.h"
#include "views/MessageListView.h"

#include <QIcon>
#include <QPlainTextEdit>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <string>

#include "session/Session.h"
#include "views/SelectionCopy.h"
#include "views/ViewContext.h"

namespace tessaly::ui {

namespace {

constexpr int kWidth = 306;
constexpr int kHeight = 334;


// Lines `first` to the end, joined by line breaks.
QString JoinedLines(const TextList& list, std::size_t first) {
    std::string text;
    for (std::size_t i = first; i < list.Count(); ++i) {
        if (i != first) text += '\n';
        text += list[i];
    }
    return QString::fromStdString(text);
}

}  // namespace

MessageListView::MessageListView(List list, ViewContext& context, QWidget* parent)
    : ChildView(list == List::Warnings ? layout_window::kWarnings : layout_window::kErrors,
                list == List::Warnings ? QStringLiteral("Warnings") : QStringLiteral("Errors"), parent),
      list_(list), context_(context) {
    const bool warnings = list_ == List::Warnings;
    setObjectName(warnings ? QStringLiteral("TfrmWarnings") : QStringLiteral("TfrmErrors"));

    auto* bar = new QToolBar(this);
    auto* refresh = AddToolButton(bar, "tlbRefresh", QStringLiteral("Refresh"), QStringLiteral("Refresh"),
                                  QIcon(QStringLiteral(":/icons/refresh.svg")));
    auto* clear = AddToolButton(bar, "tlbClear", warnings ? QStringLiteral("Clear List") : QStringLiteral("Clear"),
                                QStringLiteral("Clear List"), style()->standardIcon(QStyle::SP_DialogResetButton));
    connect(refresh, &QToolButton::clicked, this, &MessageListView::RefreshFully);
    connect(clear, &QToolButton::clicked, this, &MessageListView::tlbClearClick);

    box_ = new QPlainTextEdit(this);
    box_->setObjectName(warnings ? QStringLiteral("rheWarnings") : QStringLiteral("rheErrors"));
    box_->setAccessibleName(warnings ? QStringLiteral("Warnings") : QStringLiteral("Errors"));
    box_->setReadOnly(true);
    box_->setLineWrapMode(QPlainTextEdit::NoWrap);
    box_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SelectionCopy::Attach(*box_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(box_, 1);
    resize(kWidth, kHeight);
}

TextList& MessageListView::Lines() const {
    Processor& p = context_.session.processor();
    return list_ == List::Warnings ? p.lstWarnings : p.lstErrors;
}

void MessageListView::Refresh() {
    const TextList& lines = Lines();
    switch (shadow_.Refresh(lines)) {
    case ListShadow::Change::None: break;
    case ListShadow::Change::Appended:
        // A box that showed no line takes the new lines as its text:
        // appending would start with a blank line.
        if (shadow_.FirstNewLine() == 0) box_->setPlainText(JoinedLines(lines, 0));
        else box_->appendPlainText(JoinedLines(lines, shadow_.FirstNewLine()));
        break;
    case ListShadow::Change::Replaced: box_->setPlainText(JoinedLines(lines, 0)); break;
    }
}

void MessageListView::RefreshFully() {
    shadow_.Forget();
    Refresh();
}

void MessageListView::tlbClearClick() {
    Lines().Clear();
    RefreshFully();
}

}  // namespace tessaly::ui
