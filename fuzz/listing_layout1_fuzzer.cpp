// Arbitrary bytes as an assembler listing for the symbol-table layout.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "analysis/ListingImport.h"
#include "util/Lines.h"
#include "SilentMessages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static tessaly::Workspace workspace;
    tessaly::NoImportProgress progress;
    tessaly::fuzz::SilentMessages messages;
    const auto lines = tessaly::SplitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    const auto result = tessaly::ImportLayout1(lines, workspace, progress, messages);
    // Whatever happened, every list still has one entry per 16-bit value.
    for (const tessaly::TextList* list :
         {&workspace.lstCodeLabels, &workspace.lstBitLabels, &workspace.lstNumberLabels}) {
        if (list->Count() != tessaly::Workspace::kLabelCount) __builtin_trap();
    }
    if (result != tessaly::LayoutImport::Ok && result != tessaly::LayoutImport::NotRecognised && result != tessaly::LayoutImport::BadValue) {
        __builtin_trap();
    }
    return 0;
}
