#include "views/InternalRamView.h"

#include "util/HexText.h"

namespace tessaly::ui {

namespace {

QString Hex(unsigned value, int digits) { return QString::fromStdString(HexText(value, digits)); }

const MemoryGridShape kShape = {
    ViewMemory::InternalRAM,
    16,
    [](int row) { return Hex(static_cast<unsigned>(row), 1) + QLatin1Char('0'); },
    [](int column) { return Hex(static_cast<unsigned>(column), 2); },
    [](std::uint8_t value) { return Hex(value, 2); },
    [](int cell) { return QStringLiteral("Internal RAM %1h").arg(Hex(static_cast<unsigned>(cell), 2)); },
};

const MemoryGridSizes kSizes = {19, 19, 14, false};

}  // namespace

InternalRamView::InternalRamView(ViewContext& context, QWidget* parent)
    : MemoryWindow({2, QStringLiteral("Internal RAM"), "TfrmInternalRAM", "sggIntRAM", LocationKind::InternalRAM},
                   kShape, kSizes, context, parent) {}

}  // namespace tessaly::ui
