#include "analysis/NearestCodeLabel.h"

namespace tessaly {

std::optional<CodeLabelDistance> NearestCodeLabel(const Workspace& w, std::uint16_t address, std::uint16_t reach) {
    for (std::uint32_t distance = 0; distance <= reach && distance <= address; ++distance) {
        const std::string& label = w.lstCodeLabels[address - distance];
        if (!label.empty() && label != Workspace::kNoLabel) {
            return CodeLabelDistance{label, static_cast<std::uint16_t>(distance)};
        }
    }
    return std::nullopt;
}

}  // namespace tessaly
