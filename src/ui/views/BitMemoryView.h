#pragma once

#include "views/MemoryGrid.h"

namespace tessaly::ui {

// The Bit Memory window: the 128 bits of bytes 20h-2Fh, one byte to a row,
// bit 0 first.
class BitMemoryView : public MemoryWindow {
    Q_OBJECT
public:
    explicit BitMemoryView(ViewContext& context, QWidget* parent = nullptr);
};

}  // namespace tessaly::ui
