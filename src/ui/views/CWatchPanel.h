#pragma once

#include <QWidget>

#include "views/CDebugView.h"

class QLineEdit;
class QTableView;

namespace tessaly::ui {

class CVariablesModel;

// The C variables of the Active Watch window, below its locations: each
// watched name with its C type and value as seen from the selected frame (its
// locals and parameters, then the globals and the file statics of its
// module), or why the name means nothing there. A name is typed into the
// line below and added with Enter; Delete removes the selected one; a
// double-click on a value types a new one. Shown while C debug information is
// loaded.
class CWatchPanel : public QWidget {
    Q_OBJECT
public:
    explicit CWatchPanel(CDebugContext& context, QWidget* parent = nullptr);

    void Refresh();
    // Adds the name typed; a text that is no C name is refused with a
    // message and stays to be mended.
    void AddTyped();
    void DeleteSelected();

    QTableView& Table() { return *table_; }
    CVariablesModel& Model() { return *model_; }
    QLineEdit& NameEdit() { return *name_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CDebugContext& context_;
    QTableView* table_;
    CVariablesModel* model_;
    QLineEdit* name_;
};

}  // namespace tessaly::ui
