#include "dialogs/SettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialogs/Centre.h"
#include "dialogs/KeyFilter.h"

namespace tessaly::ui {

namespace {

constexpr int kWidth = 546;
constexpr int kHeight = 439;
constexpr int kCountMaxLength = 10;
const char* const kHintProperty = "tessalyHint";

QLineEdit* CountEdit(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(kCountMaxLength);
    new KeyFilter(edit, edit, [](char key) { return AcceptsCountKey(key) ? key : '\0'; });
    return edit;
}

QSlider* TrackBar(const char* name, int minimum, int maximum, int pageStep, int tickInterval, QWidget* parent) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(QLatin1String(name));
    slider->setRange(minimum, maximum);
    slider->setPageStep(pageStep);
    slider->setTickInterval(tickInterval);
    slider->setTickPosition(QSlider::TicksBelow);
    return slider;
}

QLabel* ValueLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setMinimumWidth(40);
    return label;
}

// A track bar's row: its title above, then the slowest end, the bar, the
// fastest end and the value.
void AddTrackBarRow(QGridLayout* grid, int row, const QString& title, QSlider* slider, QLabel* value) {
    auto* parent = slider->parentWidget();
    auto* titleLabel = new QLabel(title, parent);
    titleLabel->setBuddy(slider);
    grid->addWidget(titleLabel, row, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("Slowest"), parent), row + 1, 0);
    grid->addWidget(slider, row + 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Fastest"), parent), row + 1, 2);
    grid->addWidget(value, row + 1, 3);
}

}  // namespace

SettingsDialog::SettingsDialog(SettingsStore& settings, MessageHost& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint),
      settings_(settings), messages_(messages) {
    setObjectName(QStringLiteral("TfrmSettings"));
    setWindowTitle(QStringLiteral("Tessaly Settings"));

    pecSettings_ = new QTabWidget(this);
    pecSettings_->setObjectName(QStringLiteral("pecSettings"));
    pecSettings_->addTab(BuildSimulationPage(), QStringLiteral("Simulation"));
    pecSettings_->addTab(BuildAdvancedPage(), QStringLiteral("Advanced"));

    auto* btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    auto* btnDefault = new QPushButton(QStringLiteral("Load Default"), this);
    btnDefault->setObjectName(QStringLiteral("btnDefault"));
    btnDefault->setAutoDefault(false);
    auto* btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
    connect(btnOk, &QPushButton::clicked, this, &SettingsDialog::btnOkClick);
    connect(btnDefault, &QPushButton::clicked, this, &SettingsDialog::btnDefaultClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    SetHint(btnOk, QStringLiteral("Apply current settings and close form"));
    SetHint(btnDefault, QStringLiteral("Apply default settings"));
    SetHint(btnCancel, QStringLiteral("Do'nt current apply settings and close form"));

    ssbSettings_ = new QStatusBar(this);
    ssbSettings_->setObjectName(QStringLiteral("ssbSettings"));
    ssbSettings_->setSizeGripEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOk);
    buttons->addWidget(btnDefault);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(8, 8, 8, 4);
    body->addWidget(pecSettings_, 1);
    body->addLayout(buttons);
    layout->addLayout(body, 1);
    layout->addWidget(ssbSettings_);

    resize(kWidth, kHeight);
    CentreOnScreen(*this);
    Fill();
}

QWidget* SettingsDialog::BuildSimulationPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tbsSimulation"));

    edtInstructionsPerTick_ = CountEdit("edtInstructionsPerTick", page);
    SetHint(edtInstructionsPerTick_, QStringLiteral("Instructions executed per tick( 1 - 1000000000 )"));

    cobRefreshType_ = new QComboBox(page);
    cobRefreshType_->setObjectName(QStringLiteral("cobRefreshType"));
    cobRefreshType_->addItems({QStringLiteral("Refresh after each instruction"),
                               QStringLiteral("Refresh after each tick"), QStringLiteral("Manual refresh")});
    SetHint(cobRefreshType_, QStringLiteral("Choose whether refresh display per instruction or per tick"));

    cobCrystalFrequency_ = new QComboBox(page);
    cobCrystalFrequency_->setObjectName(QStringLiteral("cobCrystalFrequency"));
    cobCrystalFrequency_->setEditable(true);
    cobCrystalFrequency_->setInsertPolicy(QComboBox::NoInsert);
    cobCrystalFrequency_->addItems({"24", "12", "11.592", "11", "10", "9", "8", "7", "6", "5", "4", "3", "2", "1"});
    new KeyFilter(cobCrystalFrequency_, cobCrystalFrequency_->lineEdit(),
                  [](char key) { return AcceptsFrequencyKey(key) ? key : '\0'; });
    SetHint(cobCrystalFrequency_, QStringLiteral("Choose from list or type any other value"));

    edtBulkStepCount_ = CountEdit("edtBulkStepCount", page);
    SetHint(edtBulkStepCount_, QStringLiteral("Execute how many instruction per bulk step( 1 - 1000000000 )"));

    edtStepTimeInUSec_ = CountEdit("edtStepTimeInUSec", page);
    SetHint(edtStepTimeInUSec_, QStringLiteral("Time in micro sec for time based step execution( 1 - 1000000000 )"));

    ckbAutoLoadLabels_ = new QCheckBox(QStringLiteral("Automatically Load Labels"), page);
    ckbAutoLoadLabels_->setObjectName(QStringLiteral("ckbAutoLoadLabels"));
    SetHint(ckbAutoLoadLabels_,
            QStringLiteral("Specify whether to automatically load labels( based on input file name ) or not"));

    auto* grid = new QGridLayout(page);
    grid->setColumnStretch(1, 1);
    const auto addRow = [&](int row, const QString& caption, QWidget* control, const QString& unit = {}) {
        auto* label = new QLabel(caption, page);
        label->setBuddy(control);
        grid->addWidget(label, row, 0);
        grid->addWidget(control, row, 1);
        if (!unit.isEmpty()) grid->addWidget(new QLabel(unit, page), row, 2);
    };
    addRow(0, QStringLiteral("Batch Instructions Count"), edtInstructionsPerTick_);
    addRow(1, QStringLiteral("Refresh Type"), cobRefreshType_);
    addRow(2, QStringLiteral("Crystal Frequency"), cobCrystalFrequency_, QStringLiteral("MHz"));
    addRow(3, QStringLiteral("Bulk Step Count"), edtBulkStepCount_);
    addRow(4, QStringLiteral("Step Time"), edtStepTimeInUSec_, QStringLiteral("micro Sec"));
    grid->addWidget(ckbAutoLoadLabels_, 5, 0, 1, 3);
    grid->setRowStretch(6, 1);
    return page;
}

QWidget* SettingsDialog::BuildAdvancedPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));

    tkbSpeed_ = TrackBar("tkbSpeed", 1, 100, 5, 5, page);
    lblSpeed_ = ValueLabel("lblSpeed", page);
    SetHint(tkbSpeed_, QStringLiteral("Simulation Speed as percentage"));
    connect(tkbSpeed_, &QSlider::valueChanged, this,
            [this](int position) { lblSpeed_->setText(QString::number(position) + QLatin1Char('%')); });

    tkbThreadPriority_ = TrackBar("tkbThreadPriority", 1, 6, 1, 1, page);
    lblThread_ = ValueLabel("lblThread", page);
    SetHint(tkbThreadPriority_, QStringLiteral("Thread Priority"));
    connect(tkbThreadPriority_, &QSlider::valueChanged, this,
            [this](int position) { lblThread_->setText(QString::number(position)); });

    tkbPriorityClass_ = TrackBar("tkbPriorityClass", 1, 3, 1, 1, page);
    lblClass_ = ValueLabel("lblClass", page);
    SetHint(tkbPriorityClass_, QStringLiteral("Priority Class"));
    connect(tkbPriorityClass_, &QSlider::valueChanged, this,
            [this](int position) { lblClass_->setText(QString::number(position)); });

    auto* grid = new QGridLayout(page);
    grid->setColumnStretch(1, 1);
    AddTrackBarRow(grid, 0, QStringLiteral("Simulation Speed"), tkbSpeed_, lblSpeed_);
    grid->setRowMinimumHeight(2, 16);
    AddTrackBarRow(grid, 3, QStringLiteral("Thread Priority"), tkbThreadPriority_, lblThread_);
    grid->setRowMinimumHeight(5, 16);
    AddTrackBarRow(grid, 6, QStringLiteral("Priority Class"), tkbPriorityClass_, lblClass_);
    grid->setRowStretch(8, 1);
    return page;
}

void SettingsDialog::SetHint(QWidget* control, const QString& hint) {
    control->setToolTip(hint);
    control->setProperty(kHintProperty, hint);
    control->installEventFilter(this);
}

bool SettingsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        ssbSettings_->showMessage(watched->property(kHintProperty).toString());
    }
    return QDialog::eventFilter(watched, event);
}

bool SettingsDialog::Run() {
    pecSettings_->setCurrentIndex(0);
    const SimulationSettings saved = settings_.Current();
    Fill();
    if (exec() == QDialog::Accepted) return true;
    settings_.Live() = saved;
    return false;
}

void SettingsDialog::Fill() {
    const SettingsEntry entry = EntryFromSettings(settings_.Current());
    tkbSpeed_->setValue(entry.speedPosition);
    tkbThreadPriority_->setValue(entry.threadPriority);
    tkbPriorityClass_->setValue(entry.priorityClass);
    // The labels follow the bars' changes; a value equal to the old one
    // changes nothing, so they are written here as well.
    lblSpeed_->setText(QString::number(tkbSpeed_->value()) + QLatin1Char('%'));
    lblThread_->setText(QString::number(tkbThreadPriority_->value()));
    lblClass_->setText(QString::number(tkbPriorityClass_->value()));
    edtInstructionsPerTick_->setText(QString::fromStdString(entry.instructionsPerTick));
    cobRefreshType_->setCurrentIndex(entry.refreshIndex);
    cobCrystalFrequency_->setEditText(QString::fromStdString(entry.crystalFrequency));
    edtBulkStepCount_->setText(QString::fromStdString(entry.bulkStepCount));
    edtStepTimeInUSec_->setText(QString::fromStdString(entry.stepTimeInUSec));
    ckbAutoLoadLabels_->setChecked(entry.autoLoadLabels);
}

SettingsEntry SettingsDialog::Entry() const {
    SettingsEntry entry;
    entry.speedPosition = tkbSpeed_->value();
    entry.instructionsPerTick = edtInstructionsPerTick_->text().toStdString();
    entry.refreshIndex = cobRefreshType_->currentIndex();
    entry.crystalFrequency = cobCrystalFrequency_->currentText().toStdString();
    entry.bulkStepCount = edtBulkStepCount_->text().toStdString();
    entry.stepTimeInUSec = edtStepTimeInUSec_->text().toStdString();
    entry.autoLoadLabels = ckbAutoLoadLabels_->isChecked();
    entry.threadPriority = tkbThreadPriority_->value();
    entry.priorityClass = tkbPriorityClass_->value();
    return entry;
}

void SettingsDialog::btnOkClick() {
    if (AcceptSettingsEntry(Entry(), settings_, messages_)) accept();
}

void SettingsDialog::btnDefaultClick() {
    LoadDefaultSettings(settings_.Live());
    Fill();
}

}  // namespace tessaly::ui
