// Arbitrary bytes as an assembler listing for the name=value layout.
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
    const auto result = tessaly::ImportLayout2(lines, workspace, progress, messages);
    if (result != tessaly::LayoutImport::Ok && result != tessaly::LayoutImport::NotRecognised) __builtin_trap();
    if (workspace.lstCodeLabels.Count() != tessaly::Workspace::kLabelCount) __builtin_trap();
    if (!(workspace.lstBitLabels == workspace.lstNumberLabels)) __builtin_trap();
    // The whole dispatcher on the same text must not fail differently.
    tessaly::ImportListingLabels(lines, workspace, progress, messages);
    return 0;
}
