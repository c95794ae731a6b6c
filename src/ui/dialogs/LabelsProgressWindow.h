#pragma once

#include <QDialog>

#include "analysis/ListingImport.h"

class QProgressBar;

namespace tessaly::ui {

// The window the listing importers show while they read labels. They run on
// the user-interface thread without returning to the event loop, so every
// change is painted at once.
class LabelsProgressWindow : public QDialog, public ImportProgress {
    Q_OBJECT
public:
    explicit LabelsProgressWindow(QWidget* parent = nullptr);

    // ImportProgress
    void SetPosition(int percent) override;
    void Show() override;
    void Hide() override;

    int Position() const;

private:
    QProgressBar* psbProgressBar_;
};

}  // namespace tessaly::ui
