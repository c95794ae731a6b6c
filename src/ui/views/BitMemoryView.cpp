#include "views/BitMemoryView.h"

#include "util/HexText.h"

namespace tessaly::ui {

namespace {

QString Hex(unsigned value, int digits) { return QString::fromStdString(HexText(value, digits)); }

// A column holds bit c of every byte: bit address c in even rows and c + 8
// in odd ones, so its header gives both low digits ("3|B").
const MemoryGridShape kShape = {
    ViewMemory::BitMemory,
    8,
    [](int row) {
        const auto r = static_cast<unsigned>(row);
        return Hex(r * 8, 2) + QLatin1Char('(') + Hex(0x20 + r, 2) + QLatin1Char(')');
    },
    [](int column) {
        const auto c = static_cast<unsigned>(column);
        return Hex(c, 1) + QLatin1Char('|') + Hex(c + 8, 1);
    },
    [](std::uint8_t value) { return value ? QStringLiteral(" 1") : QStringLiteral(" 0"); },
    [](int cell) { return QStringLiteral("Bit %1h").arg(Hex(static_cast<unsigned>(cell), 2)); },
};

const MemoryGridSizes kSizes = {48, 25, 14, false, 8};

}  // namespace

BitMemoryView::BitMemoryView(ViewContext& context, QWidget* parent)
    : MemoryWindow({4, QStringLiteral("Bit Memory"), "TfrmBitMemory", "sggBitMemory", LocationKind::BitMemory}, kShape,
                   kSizes, context, parent) {}

}  // namespace tessaly::ui
