#include "dialogs/LabelsProgressWindow.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include <algorithm>

#include "dialogs/Centre.h"

namespace tessaly::ui {

namespace {

constexpr int kWidth = 428;
constexpr int kHeight = 143;

}  // namespace

LabelsProgressWindow::LabelsProgressWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TfrmProgressLabels"));
    setWindowTitle(QStringLiteral("Progress"));

    auto* label = new QLabel(QStringLiteral("Loading Labels         Please Wait"), this);
    label->setAlignment(Qt::AlignCenter);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);

    psbProgressBar_ = new QProgressBar(this);
    psbProgressBar_->setObjectName(QStringLiteral("psbProgressBar"));
    psbProgressBar_->setRange(0, 100);
    psbProgressBar_->setValue(0);

    auto* layout = new QVBoxLayout(this);
    layout->addStretch(1);
    layout->addWidget(label);
    layout->addWidget(psbProgressBar_);
    layout->addStretch(1);

    resize(kWidth, kHeight);
    CentreOnScreen(*this);
}

void LabelsProgressWindow::SetPosition(int percent) {
    psbProgressBar_->setValue(std::clamp(percent, 0, 100));
    psbProgressBar_->repaint();
}

int LabelsProgressWindow::Position() const { return psbProgressBar_->value(); }

void LabelsProgressWindow::Show() {
    const bool appearing = !isVisible();
    show();
    raise();
    repaint();
    // A window just shown is painted only once the platform has exposed it;
    // let that happen once, with no key or mouse input in between.
    if (appearing) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void LabelsProgressWindow::Hide() { hide(); }

}  // namespace tessaly::ui
