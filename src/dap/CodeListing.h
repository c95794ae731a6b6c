#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "session/Session.h"

namespace tessaly::dap {

// One decoded instruction of code memory.
struct ListedInstruction {
    std::uint16_t address = 0;
    std::uint8_t length = 0;
    std::string bytes;  // "75 81 5F"
    std::string label;  // the code label at the address; empty for none
    std::string text;   // the decoder's text, operands aligned, labels substituted
};

// Decodes code memory from `from` up to `to` (exclusive, at most 10000h), one
// instruction after another as the disassembly window walks it. An
// instruction that would run over one of the `anchors` (the PC, the
// address a client asks about) is cut short there, so that every anchor
// starts an instruction even where data bytes precede it. The processor's
// decoded instruction is the PC's again afterwards.
std::vector<ListedInstruction> ListCode(Session& s, std::uint32_t from, std::uint32_t to,
                                        const std::set<std::uint16_t>& anchors);

// The nearest code label at or before `address` with the distance from it
// ("puts", "puts+3"); empty when there is none within 4K.
std::string NearestLabel(const Session& s, std::uint16_t address);

}  // namespace tessaly::dap
