#include "views/ExecutionStatusView.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <string>

#include "control/Location.h"
#include "core/Diagnostics.h"
#include "session/Session.h"
#include "util/HexText.h"
#include "views/ViewContext.h"

namespace tessaly::ui {

namespace {

constexpr int kWidth = 318;
constexpr int kHeight = 178;

QLineEdit* ValueBox(const char* name, const QString& caption, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setAccessibleName(caption);
    box->setReadOnly(true);
    box->setEnabled(false);
    return box;
}

QPushButton* MoreButton(const char* name, const QString& hint, QWidget* parent) {
    auto* button = new QPushButton(QStringLiteral("..."), parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    QFont font(QStringLiteral("Tahoma"));
    font.setBold(true);
    font.setPixelSize(19);
    button->setFont(font);
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 12);
    return button;
}

void Show(QLineEdit& box, const QString& text) {
    if (box.text() != text) box.setText(text);
}

QString Number(std::uint64_t value) { return QString::number(value); }

}  // namespace

ExecutionStatusView::ExecutionStatusView(ViewContext& context, MessageHost& messages, QWidget* parent)
    : ChildView(layout_window::kExecutionStatus, QStringLiteral("Execution Status"), parent), context_(context), messages_(messages) {
    setObjectName(QStringLiteral("TfrmExecutionStatus"));
    setFont(QFont(QStringLiteral("MS Sans Serif")));

    // A one-line, read-only box: the mnemonic, a tab and the operands.
    // A line edit rather than a text document, so that a run refreshing
    // after every instruction does not lay out a document each time.
    mmoCurrentInstruction_ = new QLineEdit(this);
    mmoCurrentInstruction_->setObjectName(QStringLiteral("mmoCurrentInstruction"));
    mmoCurrentInstruction_->setAccessibleName(QStringLiteral("Instruction"));
    mmoCurrentInstruction_->setReadOnly(true);
    mmoCurrentInstruction_->setEnabled(false);

    edtElapsedTime_ = ValueBox("edtElapsedTime", QStringLiteral("Elapsed time"), this);
    edtInstructionsExecuted_ = ValueBox("edtInstructionsExecuted", QStringLiteral("Instructions executed"), this);
    edtCyclesExecuted_ = ValueBox("edtCyclesExecuted", QStringLiteral("Cycles executed"), this);
    edtErrorsEncountered_ = ValueBox("edtErrorsEncountered", QStringLiteral("Errors"), this);
    edtWarningsReceived_ = ValueBox("edtWarningsReceived", QStringLiteral("Warnings"), this);
    edtCurrentOpcode_ = ValueBox("edtCurrentOpcode", QStringLiteral("Opcode"), this);
    edtPC_ = ValueBox("edtPC", QStringLiteral("PC"), this);
    edtPC_->setEnabled(true);
    edtPC_->installEventFilter(this);
    edtHistory_ = ValueBox("edtHistory", QStringLiteral("History"), this);

    btnViewExecutedInstructions_ =
        MoreButton("btnViewExecutedInstructions", QStringLiteral("View executed instructions history"), this);
    auto* errors = MoreButton("btnViewErrorsList", QStringLiteral("View Errors list"), this);
    auto* warnings = MoreButton("btnViewWarningsList", QStringLiteral("View Warnings list"), this);
    connect(btnViewExecutedInstructions_, &QPushButton::clicked, this, [this] {
        if (context_.showListViewer) context_.showListViewer();
    });
    connect(errors, &QPushButton::clicked, this, [this] {
        if (context_.toggleView) context_.toggleView(layout_window::kErrors);
    });
    connect(warnings, &QPushButton::clicked, this, [this] {
        if (context_.toggleView) context_.toggleView(layout_window::kWarnings);
    });

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setVerticalSpacing(2);
    int row = 0;
    const auto addRow = [&](const QString& caption, QWidget* box, QWidget* after = nullptr) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(box);
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1, 1, after ? 1 : 2);
        if (after) grid->addWidget(after, row, 2);
        ++row;
    };
    addRow(QStringLiteral("Instruction"), mmoCurrentInstruction_);
    addRow(QStringLiteral("Opcode"), edtCurrentOpcode_);
    addRow(QStringLiteral("Elapsed time"), edtElapsedTime_);
    addRow(QStringLiteral("Instructions executed"), edtInstructionsExecuted_, btnViewExecutedInstructions_);
    addRow(QStringLiteral("Cycles executed"), edtCyclesExecuted_);
    addRow(QStringLiteral("Errors"), edtErrorsEncountered_, errors);
    addRow(QStringLiteral("Warnings"), edtWarningsReceived_, warnings);
    addRow(QStringLiteral("PC"), edtPC_, new QLabel(QStringLiteral("Hex"), this));
    addRow(QStringLiteral("History"), edtHistory_);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);

    resize(kWidth, kHeight);
    Refresh();
}

void ExecutionStatusView::Refresh() {
    const Session& session = context_.session;
    const Processor& p = session.processor();
    Show(*edtErrorsEncountered_, Number(p.lstErrors.Count()));
    Show(*edtWarningsReceived_, Number(p.lstWarnings.Count()));
    Show(*mmoCurrentInstruction_, QString::fromStdString(p.strInstruction.str()));
    Show(*edtCurrentOpcode_, QString::fromStdString(p.strOpcodeBytes));
    Show(*edtCyclesExecuted_, Number(p.ullCyclesExecuted));
    Show(*edtElapsedTime_,
         QString::fromStdString(ElapsedTimeText(p.ullCyclesExecuted, session.settings.Current().crystalFrequency)));
    Show(*edtInstructionsExecuted_, Number(p.ullInstructionsExecuted));
    Show(*edtPC_, QString::fromStdString(HexText(p.usPC, 4)));
    const RunHistory& history = session.History();
    Show(*edtHistory_, history.Recording() ? QStringLiteral("from instruction ") + Number(history.Start())
                                           : QStringLiteral("off"));
}

void ExecutionStatusView::edtPCDblClick() {
    const LocationNames names = FillNames(context_.session.processor(), LocationKind::SfrRegister);
    for (const auto& item : names.items) {
        if (item.text != "PC") continue;
        if (context_.openGeneralWrite) context_.openGeneralWrite(Location{LocationKind::SfrRegister, item.key});
        return;
    }
    messages_.Tell(MessageKind::Plain, "PC not found( Execution window )");
}

bool ExecutionStatusView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edtPC_) {
        if (event->type() == QEvent::MouseButtonDblClick) {
            edtPCDblClick();
            return true;
        }
        // The program counter box never keeps the focus.
        if (event->type() == QEvent::FocusIn) {
            QTimer::singleShot(0, btnViewExecutedInstructions_, [button = btnViewExecutedInstructions_] {
                button->setFocus();
            });
        }
    }
    return ChildView::eventFilter(watched, event);
}

}  // namespace tessaly::ui
