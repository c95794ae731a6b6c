#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/Decoder.h"
#include "analysis/Workspace.h"
#include "core/Processor.h"

namespace tessaly::testing {

// A processor and a workspace with no labels; code is placed byte by byte.
struct DecoderBench {
    std::unique_ptr<Processor> p = std::make_unique<Processor>();
    Workspace w;

    // Writes `bytes` at `pc`, points the PC there and decodes.
    std::string Decode(std::uint16_t pc, const std::vector<std::uint8_t>& bytes) {
        std::uint32_t at = pc;
        for (std::uint8_t b : bytes) p->ucCodeMemory[at++] = b;
        p->usPC = pc;
        DecodeInstruction(*p, w);
        return p->strInstruction.str();
    }
};

// Puts `name` at entry `value` of a label list, the way an import leaves it.
inline void SetLabel(TextList& list, unsigned value, std::string_view name) {
    std::vector<std::string> lines = list.Lines();
    lines.at(value) = name;
    list.Clear();
    for (const std::string& line : lines) list.Append(line);
}

}  // namespace tessaly::testing
