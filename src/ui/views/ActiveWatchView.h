#pragma once

#include <string>
#include <vector>

#include "core/MessageHost.h"
#include "views/ChildView.h"

class QLabel;
class QTableWidget;

namespace tessaly::ui {

class AddWatchDialog;
class CWatchPanel;
struct ViewContext;

// The Active Watch window: every watched location with its name, type and
// value in hexadecimal, decimal and binary, in the watch list's order, each
// column wide enough for anything it can show. A
// value that changed at the last refresh stands out until the next one. A
// double-click opens the General Write dialog on the row's location; its
// right-click menu offers Last Write and Add Data Break Point for it.
class ActiveWatchView : public ChildView {
    Q_OBJECT
public:
    ActiveWatchView(ViewContext& context, AddWatchDialog& add, MessageHost& messages, QWidget* parent = nullptr);

    void Refresh() override;
    // Wide enough for every column.
    QSize sizeHint() const override;
    // Rewrites the grid with no value marked as changed.
    void RefreshFully() override;

    // The C variables below the locations, refreshed with them.
    void SetCWatches(CWatchPanel* panel);
    CWatchPanel* CWatches() const { return cWatches_; }

    void tobAddClick();
    void tobDeleteClick();
    void tobDeleteAllClick();
    // Row `row` of the grid's entries (0 for the first entry).
    void sggActiveWatchDblClick(int row);

private:
    // Each column as wide as the widest text it can show.
    void SizeColumns();

    ViewContext& context_;
    AddWatchDialog& add_;
    MessageHost& messages_;
    QTableWidget* sggActiveWatch_;
    QLabel* countPanel_;
    CWatchPanel* cWatches_ = nullptr;
    int columnsWidth_ = 0;
    // The entry each row showed at the last refresh: a value is marked as
    // changed only when its row still shows the same location.
    std::vector<std::string> shownEntries_;
};

}  // namespace tessaly::ui
