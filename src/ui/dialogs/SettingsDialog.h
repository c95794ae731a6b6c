#pragma once

#include <QDialog>

#include "control/SettingsStore.h"
#include "control/SettingsEntry.h"
#include "core/MessageHost.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QStatusBar;
class QTabWidget;

namespace tessaly::ui {

// The simulation settings dialog. OK checks the typed values and hands the
// record to the store, which saves and applies it; Load Default puts the
// defaults into the live record at once, and Cancel or the close box then
// puts back the record as it was when the dialog opened.
class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    SettingsDialog(SettingsStore& settings, MessageHost& messages, QWidget* parent = nullptr);

    // Shows the dialog modally on its first page. True when it closed with OK
    // (the record is then saved and applied); otherwise the record is as it
    // was before.
    bool Run();
    // Shows the record's values.
    void Fill();
    // What the dialog shows now, as the library's checks take it.
    SettingsEntry Entry() const;

private slots:
    void btnOkClick();
    void btnDefaultClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildSimulationPage();
    QWidget* BuildAdvancedPage();
    // Shows `hint` in the status bar whenever `control` gets the focus.
    void SetHint(QWidget* control, const QString& hint);

    SettingsStore& settings_;
    MessageHost& messages_;

    QTabWidget* pecSettings_;
    QLineEdit* edtInstructionsPerTick_;
    QComboBox* cobRefreshType_;
    QComboBox* cobCrystalFrequency_;
    QLineEdit* edtBulkStepCount_;
    QLineEdit* edtStepTimeInUSec_;
    QCheckBox* ckbAutoLoadLabels_;
    QSlider* tkbSpeed_;
    QSlider* tkbThreadPriority_;
    QSlider* tkbPriorityClass_;
    QLabel* lblSpeed_;
    QLabel* lblThread_;
    QLabel* lblClass_;
    QStatusBar* ssbSettings_;
};

}  // namespace tessaly::ui
