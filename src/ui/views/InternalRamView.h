#pragma once

#include "views/MemoryGrid.h"

namespace tessaly::ui {

// The Internal RAM window: the 256 bytes indirect addressing reaches, 16 to a
// row. Row 80h shows the upper RAM, never the SFRs.
class InternalRamView : public MemoryWindow {
    Q_OBJECT
public:
    explicit InternalRamView(ViewContext& context, QWidget* parent = nullptr);
};

}  // namespace tessaly::ui
