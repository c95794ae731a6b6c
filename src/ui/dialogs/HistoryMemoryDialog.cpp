#include "dialogs/HistoryMemoryDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

#include <cstdint>
#include <limits>

#include "dialogs/NamedButton.h"
#include "session/Session.h"

namespace tessaly::ui {

HistoryMemoryDialog::HistoryMemoryDialog(Session& session, QWidget* parent) : QDialog(parent), session_(session) {
    setObjectName(QStringLiteral("TfrmHistoryMemory"));
    setWindowTitle(QStringLiteral("History Memory"));
    setModal(true);

    megabytes_ = new QSpinBox(this);
    megabytes_->setObjectName(QStringLiteral("spnHistoryMegabytes"));
    megabytes_->setRange(0, std::numeric_limits<std::uint16_t>::max());
    megabytes_->setSuffix(QStringLiteral(" MB"));
    megabytes_->setSpecialValueText(QStringLiteral("Off"));
    megabytes_->setAccessibleName(QStringLiteral("History memory in megabytes"));
    auto* label = new QLabel(QStringLiteral("&Memory for going back in time"), this);
    label->setBuddy(megabytes_);
    auto* hint = new QLabel(QStringLiteral("0 records nothing: Step Back, Reverse Continue and Last Write "
                                           "then have no past to go back to."),
                            this);
    hint->setWordWrap(true);
    inUse_ = new QLabel(this);
    inUse_->setObjectName(QStringLiteral("lblHistoryInUse"));

    auto* ok = NamedButton(QStringLiteral("OK"), "btnHistoryOK", this);
    ok->setDefault(true);
    auto* cancel = NamedButton(QStringLiteral("Cancel"), "btnHistoryCancel", this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(megabytes_, 0, 1);
    layout->addWidget(hint, 1, 0, 1, 2);
    layout->addWidget(inUse_, 2, 0, 1, 2);
    layout->addLayout(buttons, 3, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    setMinimumWidth(380);
}

void HistoryMemoryDialog::ShowInUse() {
    const RunHistory& history = session_.History();
    if (!history.Recording()) {
        inUse_->setText(QStringLiteral("Recording nothing now."));
        return;
    }
    const std::size_t checkpoints = history.Checkpoints();
    inUse_->setText(QStringLiteral("In use: %1 MB in %2 checkpoint%3, from instruction %4.")
                        .arg(static_cast<double>(history.MemoryUsed()) / (1 << 20), 0, 'f', 1)
                        .arg(checkpoints)
                        .arg(checkpoints == 1 ? QString() : QStringLiteral("s"))
                        .arg(history.Start()));
}

bool HistoryMemoryDialog::Run() {
    megabytes_->setValue(session_.Options().historyMegabytes);
    ShowInUse();
    megabytes_->setFocus();
    megabytes_->selectAll();
    if (exec() != QDialog::Accepted) return false;
    const auto chosen = static_cast<std::uint16_t>(megabytes_->value());
    if (chosen != session_.Options().historyMegabytes) session_.SetHistoryMegabytes(chosen);
    return true;
}

}  // namespace tessaly::ui
