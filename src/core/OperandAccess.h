#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/OpcodeText.h"

namespace tessaly {

// What an operand of an instruction names, as far as memory is concerned.
enum class OperandKind : std::uint8_t {
    None,
    Accumulator,       // A (ACC, E0h)
    Carry,             // C (PSW.7)
    AccumulatorB,      // AB of MUL and DIV
    Dptr,              // DPTR (DPL, DPH)
    Register,          // Rn: internal RAM in the selected bank
    Indirect,          // @Ri: internal RAM (idata) at Ri
    Direct,            // internal RAM below 80h, an SFR from 80h
    Bit,               // bit address, plain or complemented
    ExternalAtDptr,    // MOVX @DPTR
    ExternalAtRi,      // MOVX @Ri, paged through P2 where enabled
    CodeAtAPlusDptr,   // MOVC A,@A+DPTR
    CodeAtAPlusPc,     // MOVC A,@A+PC
    Immediate,         // #data, #data16
    CodeAddress,       // jump and call targets, JMP @A+DPTR
};

inline constexpr std::uint8_t kOperandRead = 1;
inline constexpr std::uint8_t kOperandWrite = 2;

// One operand: its kind, which operand byte holds its address (1 or 2; 0
// when the opcode itself names it) and whether the instruction reads or
// writes it.
struct OperandUse {
    OperandKind kind = OperandKind::None;
    std::uint8_t operandByte = 0;
    std::uint8_t access = 0;

    constexpr bool Reads() const { return (access & kOperandRead) != 0; }
    constexpr bool Writes() const { return (access & kOperandWrite) != 0; }
};

// The explicit operands of one opcode in the order the assembler writes
// them. Effects no operand names (flags, the stack of calls, PUSH and POP,
// the accumulator JZ tests) are not listed here.
struct OpcodeOperands {
    std::array<OperandUse, 3> operands{};
};

namespace operand_access_detail {

constexpr bool IsAnyOf(std::string_view mnemonic, std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) {
        if (mnemonic == name) return true;
    }
    return false;
}

constexpr OperandUse Classify(std::string_view token, std::string_view mnemonic) {
    const bool movx = mnemonic == "MOVX";
    if (token == "A") return {OperandKind::Accumulator};
    if (token == "C") return {OperandKind::Carry};
    if (token == "AB") return {OperandKind::AccumulatorB};
    if (token == "DPTR") return {OperandKind::Dptr};
    if (token == "Rn") return {OperandKind::Register};
    if (token == "@Ri") return {movx ? OperandKind::ExternalAtRi : OperandKind::Indirect};
    if (token == "@DPTR") return {OperandKind::ExternalAtDptr};
    if (token == "@A+DPTR") return {mnemonic == "MOVC" ? OperandKind::CodeAtAPlusDptr : OperandKind::CodeAddress};
    if (token == "@A+PC") return {OperandKind::CodeAtAPlusPc};
    if (token == "dir1") return {OperandKind::Direct, 1};
    if (token == "dir2") return {OperandKind::Direct, 2};
    if (token == "bit1" || token == "/bit1") return {OperandKind::Bit, 1};
    if (token == "#1" || token == "#2" || token == "#16") return {OperandKind::Immediate};
    return {OperandKind::CodeAddress};  // addr11, addr16, rel
}

// Which operands the mnemonic reads and writes: the first is the destination
// of moves and of arithmetic and logic (read as well by the latter); XCH and
// XCHD write both; tests and jumps only read.
constexpr std::uint8_t AccessOf(std::string_view mnemonic, std::size_t position) {
    constexpr std::uint8_t rw = kOperandRead | kOperandWrite;
    if (IsAnyOf(mnemonic, {"XCH", "XCHD", "MUL", "DIV"})) return rw;
    if (position > 0) return kOperandRead;
    if (IsAnyOf(mnemonic, {"MOV", "MOVC", "MOVX", "POP", "CLR", "SETB"})) return kOperandWrite;
    if (IsAnyOf(mnemonic, {"ADD", "ADDC", "SUBB", "ORL", "ANL", "XRL", "INC", "DEC", "CPL", "RL", "RR", "RLC", "RRC",
                           "SWAP", "DA", "DJNZ", "JBC"})) {
        return rw;
    }
    return kOperandRead;  // CJNE, JB, JNB, PUSH, jumps and calls
}

constexpr OpcodeOperands Derive(const OpcodeText& text) {
    OpcodeOperands result;
    std::string_view rest = text.operands;
    std::size_t position = 0;
    while (!rest.empty() && position < result.operands.size()) {
        const std::size_t comma = rest.find(',');
        const std::string_view token = rest.substr(0, comma);
        OperandUse use = Classify(token, text.mnemonic);
        if (use.kind != OperandKind::Immediate && use.kind != OperandKind::CodeAddress) {
            use.access = AccessOf(text.mnemonic, position);
        }
        result.operands[position++] = use;
        rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
    }
    return result;
}

}  // namespace operand_access_detail

// Indexed by opcode; derived from the opcode texts, so the disassembly and
// what the engine's helpers take an instruction to touch cannot disagree.
inline constexpr std::array<OpcodeOperands, 256> kOpcodeOperands = [] {
    std::array<OpcodeOperands, 256> table{};
    for (std::size_t op = 0; op < table.size(); ++op) table[op] = operand_access_detail::Derive(kOpcodeTexts[op]);
    return table;
}();

}  // namespace tessaly
