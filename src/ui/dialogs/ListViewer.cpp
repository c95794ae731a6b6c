#include "views/ToolButtons.h"
#include "dialogs/ListViewer.h"

#include <QIcon>
#include <QPlainTextEdit>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <string>

#include "session/Session.h"
#include "views/SelectionCopy.h"

namespace tessaly::ui {

namespace {

constexpr int kWidth = 340;
constexpr int kHeight = 272;


}  // namespace

ListViewer::ListViewer(Session& session, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), session_(session) {
    setObjectName(QStringLiteral("TfrmListViewer"));
    setWindowTitle(QStringLiteral("List Viewer"));

    auto* bar = new QToolBar(this);
    auto* refresh =
        AddToolButton(bar, "tlbRefresh", QStringLiteral("Refresh"), QString(),
                      QIcon(QStringLiteral(":/icons/refresh.svg")), Qt::ToolButtonIconOnly);
    auto* clear =
        AddToolButton(bar, "tlbClear", QStringLiteral("Clear"), QString(),
                      style()->standardIcon(QStyle::SP_DialogResetButton), Qt::ToolButtonIconOnly);
    connect(refresh, &QToolButton::clicked, this, &ListViewer::tlbRefreshClick);
    connect(clear, &QToolButton::clicked, this, &ListViewer::tlbClearClick);

    rheList_ = new QPlainTextEdit(this);
    rheList_->setObjectName(QStringLiteral("rheList"));
    rheList_->setAccessibleName(QStringLiteral("Executed instructions"));
    rheList_->setReadOnly(true);
    rheList_->setLineWrapMode(QPlainTextEdit::NoWrap);
    rheList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    rheList_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SelectionCopy::Attach(*rheList_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(rheList_, 1);
    resize(kWidth, kHeight);
}

void ListViewer::Run() {
    tlbRefreshClick();
    exec();
}

void ListViewer::tlbRefreshClick() {
    const InstructionHistory& history = session_.processor().lstExecutedInstructions;
    std::string text;
    for (std::size_t i = 0; i < history.Count(); ++i) {
        if (i != 0) text += '\n';
        text += history[i];
    }
    rheList_->setPlainText(QString::fromStdString(text));
}

void ListViewer::tlbClearClick() {
    session_.processor().lstExecutedInstructions.Clear();
    tlbRefreshClick();
}

}  // namespace tessaly::ui
