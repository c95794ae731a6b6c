#pragma once

#include <array>
#include <cstdint>

#include "core/Processor.h"
#include "core/SerialPort.h"

namespace tessaly {

namespace wired_serial_detail {

// Which operand byte of an instruction names a direct address it reads as a
// source, and which one a direct address it writes (0: none, 1: the first
// operand byte, 2: the second). MOV A,SBUF and MOV SBUF,A are left out: they
// receive and transmit by themselves.
struct DirectAccess {
    std::uint8_t read = 0;
    std::uint8_t write = 0;
};

inline constexpr std::array<DirectAccess, 256> kDirectAccess = [] {
    std::array<DirectAccess, 256> table{};
    // Arithmetic and logic with a direct source: ADD, ADDC, ORL, ANL, XRL, SUBB A,direct.
    for (unsigned op : {0x25u, 0x35u, 0x45u, 0x55u, 0x65u, 0x95u}) table[op].read = 1;
    // Read-modify-write of a direct byte: INC, DEC, DJNZ, XCH, ORL/ANL/XRL direct,A and direct,#data.
    for (unsigned op : {0x05u, 0x15u, 0xD5u, 0xC5u, 0x42u, 0x43u, 0x52u, 0x53u, 0x62u, 0x63u}) table[op] = {1, 1};
    // Direct sources: MOV @Ri/Rn,direct, PUSH, CJNE A,direct.
    for (unsigned op = 0xA6; op <= 0xAF; ++op) table[op].read = 1;
    table[0xC0].read = 1;
    table[0xB5].read = 1;
    // Direct destinations: MOV direct,#data, MOV direct,@Ri/Rn, POP.
    table[0x75].write = 1;
    for (unsigned op = 0x86; op <= 0x8F; ++op) table[op].write = 1;
    table[0xD0].write = 1;
    // MOV direct,direct: the source comes first.
    table[0x85] = {1, 2};
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
