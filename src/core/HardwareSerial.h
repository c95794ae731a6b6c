#pragma once

#include <array>
#include <cstdint>

#include "core/OperandAccess.h"
#include "core/Processor.h"
#include "core/SerialPort.h"

namespace tessaly {

namespace wired_serial_detail {

// Which operand byte of an instruction names a direct address it reads as a
// source, and which one a direct address it writes (0: none, 1: the first
// operand byte, 2: the second), from the opcode operand table. MOV A,SBUF
// and MOV SBUF,A are left out: they receive and transmit by themselves.
struct DirectAccess {
    std::uint8_t read = 0;
    std::uint8_t write = 0;
};

inline constexpr std::array<DirectAccess, 256> kDirectAccess = [] {
    std::array<DirectAccess, 256> table{};
    for (std::size_t op = 0; op < table.size(); ++op) {
        if (op == 0xE5 || op == 0xF5) continue;
        for (const OperandUse& use : kOpcodeOperands[op].operands) {
            if (use.kind != OperandKind::Direct) continue;
            if (use.Reads()) table[op].read = use.operandByte;
            if (use.Writes()) table[op].write = use.operandByte;
        }
    }
    return table;
}();

inline std::uint8_t OperandByte(const Processor& p, std::uint8_t which) {
    return which == 1 ? p.ucOperand1 : p.ucOperand2;
}

}  // namespace wired_serial_detail

// True when the serial wiring changes what `opcode` does: it reads or
// writes a direct address that may be SBUF.
constexpr bool TouchesDirectSbuf(std::uint8_t opcode) {
    const auto access = wired_serial_detail::kDirectAccess[opcode];
    return access.read || access.write;
}

// Executes one already fetched instruction with the serial port wired as on
// the chip: a read of SBUF as a source operand receives, a write of SBUF
// transmits.
template <std::uint8_t Opcode, void (*Handler)(Processor&)>
void ExecuteWithHardwareSerial(Processor& p) {
    using namespace wired_serial_detail;
    constexpr DirectAccess access = kDirectAccess[Opcode];
    const bool reads = access.read && OperandByte(p, access.read) == sfr::SBUF;
    const bool writes = access.write && OperandByte(p, access.write) == sfr::SBUF;
    const std::uint8_t held = p.ucIntRAM[sfr::SBUF];
    // The instruction sees the received byte (0 when reception fails); a
    // failed reception does not change what SBUF holds.
    if (reads) p.ucIntRAM[sfr::SBUF] = ReceiveByte(p);
    Handler(p);
    if (writes) TransmitByte(p, p.ucIntRAM[sfr::SBUF]);
    else if (reads) p.ucIntRAM[sfr::SBUF] = held;
}

}  // namespace tessaly
