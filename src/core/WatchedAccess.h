#pragma once

#include <cstdint>
#include <string_view>

#include "core/DataWatch.h"
#include "core/OperandAccess.h"
#include "core/Processor.h"

namespace tessaly {

namespace watched_access_detail {

// What an opcode reaches besides its operands.
struct ImplicitUse {
    bool readsAcc = false;       // JZ, JNZ, JMP @A+DPTR
    bool readsDptr = false;      // JMP @A+DPTR
    bool readsCarry = false;     // ADDC, SUBB, RLC, RRC, DA, JC, JNC
    std::uint8_t flagsWritten = 0;  // PSW bits set by the result
    std::int8_t pushes = 0;      // bytes pushed (PUSH 1, calls 2)
    std::int8_t pops = 0;        // bytes popped (POP 1, returns 2)
};

constexpr ImplicitUse ImplicitOf(std::uint8_t opcode) {
    const std::string_view m = kOpcodeTexts[opcode].mnemonic;
    ImplicitUse use;
    use.readsAcc = m == "JZ" || m == "JNZ" || opcode == 0x73;
    use.readsDptr = opcode == 0x73;
    use.readsCarry = m == "ADDC" || m == "SUBB" || m == "RLC" || m == "RRC" || m == "DA" || m == "JC" || m == "JNC";
    if (m == "ADD" || m == "ADDC" || m == "SUBB") use.flagsWritten = 0xC4;  // CY, AC, OV
    if (m == "MUL" || m == "DIV") use.flagsWritten = 0x84;                  // CY, OV
    if (m == "DA" || m == "RLC" || m == "RRC" || m == "CJNE") use.flagsWritten = 0x80;
    if (m == "PUSH") use.pushes = 1;
    if (m == "ACALL" || m == "LCALL") use.pushes = 2;
    if (m == "POP") use.pops = 1;
    if (m == "RET" || m == "RETI") use.pops = 2;
    return use;
}

// Kinds: the kinds of access noted (kOperandRead, kOperandWrite or both),
// those some data break point watches.
template <std::uint8_t Kinds>
[[gnu::always_inline]] inline void NoteByte(DataWatch& w, const Processor& p, std::size_t index, std::uint8_t mask,
                                            std::uint8_t access) {
    if ((Kinds & access & kOperandRead) != 0) w.NoteInternal(p.ucIntRAM.data(), index, mask, kWatchRead);
    if ((Kinds & access & kOperandWrite) != 0) w.NoteInternal(p.ucIntRAM.data(), index, mask, kWatchWrite);
}

template <std::uint8_t Kinds>
[[gnu::always_inline]] inline void NoteRegister(DataWatch& w, const Processor& p, unsigned n, std::uint8_t access) {
    if ((Kinds & access) != 0) NoteByte<Kinds>(w, p, p.RegisterBankBase() + n, 0xFF, access);
}

template <std::uint8_t Kinds>
[[gnu::always_inline]] inline void NoteExternal(DataWatch& w, const Processor& p, std::uint16_t address, std::uint8_t access) {
    if ((Kinds & access) == 0 || !w.HasExternal()) return;
    if ((Kinds & access & kOperandRead) != 0) w.NoteExternal(p, address, kWatchRead);
    if ((Kinds & access & kOperandWrite) != 0) w.NoteExternal(p, address, kWatchWrite);
}

template <OperandUse Use, std::uint8_t Opcode, bool PagedXram, std::uint8_t Kinds>
[[gnu::always_inline]] inline void NoteOperand(DataWatch& w, const Processor& p) {
    constexpr std::uint8_t access = Use.access;
    const std::uint8_t byte = Use.operandByte == 2 ? p.ucOperand2 : p.ucOperand1;
    if constexpr (Use.kind == OperandKind::Accumulator) {
        NoteByte<Kinds>(w, p, sfr::ACC, 0xFF, access);
    } else if constexpr (Use.kind == OperandKind::Carry) {
        NoteByte<Kinds>(w, p, sfr::PSW, psw::CY, access);
    } else if constexpr (Use.kind == OperandKind::AccumulatorB) {
        NoteByte<Kinds>(w, p, sfr::ACC, 0xFF, access);
        NoteByte<Kinds>(w, p, sfr::B, 0xFF, access);
    } else if constexpr (Use.kind == OperandKind::Dptr) {
        NoteByte<Kinds>(w, p, sfr::DPL, 0xFF, access);
        NoteByte<Kinds>(w, p, sfr::DPH, 0xFF, access);
    } else if constexpr (Use.kind == OperandKind::Register) {
        NoteRegister<Kinds>(w, p, Opcode & 7u, access);
    } else if constexpr (Use.kind == OperandKind::Indirect) {
        NoteRegister<Kinds>(w, p, Opcode & 1u, kOperandRead);
        NoteByte<Kinds>(w, p, Processor::IndirectOffset(p.ReadRegister(Opcode & 1u)), 0xFF, access);
    } else if constexpr (Use.kind == OperandKind::Direct) {
        NoteByte<Kinds>(w, p, byte, 0xFF, access);
    } else if constexpr (Use.kind == OperandKind::Bit) {
        const Processor::BitLocation& at = p.BitMap[byte];
        NoteByte<Kinds>(w, p, at.address, at.mask, access);
    } else if constexpr (Use.kind == OperandKind::ExternalAtDptr) {
        NoteByte<Kinds>(w, p, sfr::DPL, 0xFF, kOperandRead);
        NoteByte<Kinds>(w, p, sfr::DPH, 0xFF, kOperandRead);
        NoteExternal<Kinds>(w, p, p.GetDPTR(), access);
    } else if constexpr (Use.kind == OperandKind::ExternalAtRi) {
        NoteRegister<Kinds>(w, p, Opcode & 1u, kOperandRead);
        std::uint16_t address = p.ReadRegister(Opcode & 1u);
        if constexpr (PagedXram) {
            NoteByte<Kinds>(w, p, sfr::P2, 0xFF, kOperandRead);
            address = static_cast<std::uint16_t>(address | (p.ucIntRAM[sfr::P2] << 8));
        }
        NoteExternal<Kinds>(w, p, address, access);
    } else if constexpr (Use.kind == OperandKind::CodeAtAPlusDptr) {
        NoteByte<Kinds>(w, p, sfr::DPL, 0xFF, kOperandRead);
        NoteByte<Kinds>(w, p, sfr::DPH, 0xFF, kOperandRead);
        if ((Kinds & kOperandRead) != 0 && w.HasCode()) w.NoteCode(p, std::uint32_t{p.GetDPTR()} + p.ucIntRAM[sfr::ACC]);
    } else if constexpr (Use.kind == OperandKind::CodeAtAPlusPc) {
        // The PC has already moved past the instruction.
        if ((Kinds & kOperandRead) != 0 && w.HasCode()) w.NoteCode(p, static_cast<std::uint16_t>(p.usPC + p.ucIntRAM[sfr::ACC]));
    }
    (void)byte;
}

}  // namespace watched_access_detail

// Notes in `w` every access of the kinds `Kinds` the instruction `Opcode`,
// decoded into `p` and about to run, makes to memory: called before its
// handler, so each event keeps the value from before.
template <std::uint8_t Opcode, bool PagedXram, std::uint8_t Kinds>
[[gnu::always_inline]] inline void NoteAccesses(DataWatch& w, const Processor& p) {
    using namespace watched_access_detail;
    constexpr OpcodeOperands ops = kOpcodeOperands[Opcode];
    NoteOperand<ops.operands[0], Opcode, PagedXram, Kinds>(w, p);
    NoteOperand<ops.operands[1], Opcode, PagedXram, Kinds>(w, p);
    NoteOperand<ops.operands[2], Opcode, PagedXram, Kinds>(w, p);

    constexpr ImplicitUse use = ImplicitOf(Opcode);
    if constexpr (use.readsAcc) NoteByte<Kinds>(w, p, sfr::ACC, 0xFF, kOperandRead);
    if constexpr (use.readsDptr) {
        NoteByte<Kinds>(w, p, sfr::DPL, 0xFF, kOperandRead);
        NoteByte<Kinds>(w, p, sfr::DPH, 0xFF, kOperandRead);
    }
    if constexpr (use.readsCarry) NoteByte<Kinds>(w, p, sfr::PSW, psw::CY, kOperandRead);
    if constexpr (use.flagsWritten != 0) NoteByte<Kinds>(w, p, sfr::PSW, use.flagsWritten, kOperandWrite);
    if constexpr (use.pushes != 0 || use.pops != 0) {
        NoteByte<Kinds>(w, p, sfr::SP, 0xFF, kOperandRead | kOperandWrite);
        const std::uint8_t sp = p.ucIntRAM[sfr::SP];
        for (int i = 1; i <= ((Kinds & kOperandWrite) != 0 ? use.pushes : 0); ++i) {
            NoteByte<Kinds>(w, p, Processor::IndirectOffset(static_cast<std::uint8_t>(sp + i)), 0xFF, kOperandWrite);
        }
        for (int i = 0; i < ((Kinds & kOperandRead) != 0 ? use.pops : 0); ++i) {
            NoteByte<Kinds>(w, p, Processor::IndirectOffset(static_cast<std::uint8_t>(sp - i)), 0xFF, kOperandRead);
        }
    }
}

// The two bytes and SP an interrupt entry is about to push the PC into.
inline void NoteInterruptEntry(DataWatch& w, const Processor& p) {
    using namespace watched_access_detail;
    const std::uint8_t sp = p.ucIntRAM[sfr::SP];
    constexpr std::uint8_t kAll = kOperandRead | kOperandWrite;
    NoteByte<kAll>(w, p, sfr::SP, 0xFF, kOperandRead | kOperandWrite);
    NoteByte<kAll>(w, p, Processor::IndirectOffset(static_cast<std::uint8_t>(sp + 1)), 0xFF, kOperandWrite);
    NoteByte<kAll>(w, p, Processor::IndirectOffset(static_cast<std::uint8_t>(sp + 2)), 0xFF, kOperandWrite);
}

}  // namespace tessaly
