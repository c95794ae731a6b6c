#include "control/SelfLoops.h"

#include "core/JumpRoutines.h"

namespace tessaly {

bool JumpsToItself(const Processor& p, std::uint16_t pc) {
    const std::uint8_t opcode = p.ucCodeMemory[pc];
    const std::uint8_t first = p.ucCodeMemory[pc + 1u];
    if (opcode == 0x80) return first == 0xFE;
    if (opcode == 0x02) return ((first << 8) | p.ucCodeMemory[pc + 2u]) == pc;
    if ((opcode & 0x1F) == 0x01) {
        return jump_detail::AbsoluteTarget(static_cast<std::uint16_t>(pc + 2u), opcode, first) == pc;
    }
    return false;
}

AddressSet SelfLoopAddresses(const Processor& p) {
    AddressSet stops;
    for (std::uint32_t address = 0; address < AddressSet::kAddressCount; ++address) {
        const auto pc = static_cast<std::uint16_t>(address);
        if (JumpsToItself(p, pc)) stops.Insert(pc);
    }
    return stops;
}

}  // namespace tessaly
