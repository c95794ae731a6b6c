#include "views/ExternalRamView.h"

#include "session/Session.h"
#include "util/HexText.h"
#include "views/ViewContext.h"

namespace tessaly::ui {

namespace {

QString Hex(unsigned value, int digits) { return QString::fromStdString(HexText(value, digits)); }

const MemoryGridShape kShape = {
    ViewMemory::ExternalRAM,
    16,
    [](int row) { return Hex(static_cast<unsigned>(row) * 16, 4); },
    [](int column) { return Hex(static_cast<unsigned>(column), 2); },
    [](std::uint8_t value) { return Hex(value, 2); },
    [](int cell) { return QStringLiteral("External RAM %1h").arg(Hex(static_cast<unsigned>(cell), 4)); },
};

const MemoryGridSizes kSizes = {49, 19, 14, true};

}  // namespace

ExternalRamView::ExternalRamView(ViewContext& context, QWidget* parent)
    : MemoryWindow({3, QStringLiteral("External RAM"), "TfrmExternalRAM", "sggExtRAM", LocationKind::ExternalRAM},
                   kShape, kSizes, context, parent) {}

void ExternalRamView::Refresh() {
    // The mark of the last MOVX write is for this window alone; comparing
    // with the shadow finds that cell and any other written since.
    context_.session.processor().bExtRAMWritten = 0;
    MemoryWindow::Refresh();
}

}  // namespace tessaly::ui
