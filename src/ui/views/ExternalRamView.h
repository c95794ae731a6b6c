#pragma once

#include "views/MemoryGrid.h"

namespace tessaly::ui {

// The External RAM window: all 64K bytes, 16 to a row, in 4096 rows. A
// refresh compares the whole memory with what the grid shows, so each MOVX
// repaints exactly the cell it wrote, and a full refresh (after a reset, an
// initialisation or a snapshot load) rewrites every cell.
class ExternalRamView : public MemoryWindow {
    Q_OBJECT
public:
    explicit ExternalRamView(ViewContext& context, QWidget* parent = nullptr);

    void Refresh() override;
};

}  // namespace tessaly::ui
