#include "analysis/Decoder.h"

#include <array>

#include "core/OpcodeText.h"
#include "core/ExecutionStatus.h"
#include "util/HexText.h"
#include "core/InstructionSet.h"
#include "core/JumpRoutines.h"
#include "core/Messages.h"
#include "core/Sfr.h"

namespace tessaly {

namespace {

constexpr std::string_view kReservedText = "Reserved Opcode";

// Only these SFRs are named in direct operands; bits are never named here.
constexpr auto kSfrNames = [] {
    std::array<std::string_view, 256> names{};
    for (const auto& definition : kSfrDefinitions) names[definition.address] = definition.name;
    return names;
}();

// Assembler-style number: at least `digits` digits, zero-padded, then "H".
// Both widths used have room for a leading 0 above the largest value they
// are meant for, so the text never starts with a letter.
std::string HexNumber(unsigned value, int digits) {
    std::string text;
    for (int i = 0; i < digits || value != 0; ++i) {
        text.insert(text.begin(), kHexDigits[value & 0xF]);
        value >>= 4;
    }
    return text + 'H';
}

std::uint8_t High(std::uint16_t value) { return static_cast<std::uint8_t>(value >> 8); }
std::uint8_t Low(std::uint16_t value) { return static_cast<std::uint8_t>(value & 0xFF); }

std::uint8_t OperandByte(const Processor& p, char which) { return which == '1' ? p.ucOperand1 : p.ucOperand2; }

std::string Prefixed(char prefix, std::string text) {
    text.insert(text.begin(), prefix);
    return text;
}

std::string NumberText(std::uint8_t value, Workspace& w) { return SubstituteLabel(kNumberPlaceholder, 0, value, w); }

// One token of an operand pattern (see OpcodeText.h).
std::string OperandText(std::string_view token, Processor& p, Workspace& w) {
    const std::uint8_t op = p.ucOpcode;
    if (token == "Rn") return {'R', static_cast<char>('0' + (op & 7))};
    if (token == "@Ri") return {'@', 'R', static_cast<char>('0' + (op & 1))};
    if (token == "dir1" || token == "dir2") return DirectOperandText(OperandByte(p, token[3]), w);
    if (token == "#1" || token == "#2") return Prefixed('#', NumberText(OperandByte(p, token[1]), w));
    if (token == "bit1") return SubstituteLabel(kBitPlaceholder, 0, p.ucOperand1, w);
    if (token == "/bit1") return Prefixed('/', SubstituteLabel(kBitPlaceholder, 0, p.ucOperand1, w));
    if (token == "#16") {
        // The only 16-bit immediate: always printed as a word, whatever the caller chose.
        const std::uint8_t saved = w.bByteNumbers;
        w.bByteNumbers = 0;
        std::string text = Prefixed('#', SubstituteLabel(kNumberPlaceholder, p.ucOperand1, p.ucOperand2, w));
        w.bByteNumbers = saved;
        return text;
    }
    if (token == "addr16") return SubstituteLabel(kCodePlaceholder, p.ucOperand1, p.ucOperand2, w);
    if (token == "addr11") {
        // ACALL has bit 4 of the opcode set, AJMP clear.
        const std::uint16_t target = (op & 0x10) ? AbsoluteCall(p) : AbsoluteJump(p);
        return SubstituteLabel(kCodePlaceholder, High(target), Low(target), w);
    }
    if (token == "rel") {
        const std::uint16_t target = RelativeJump(p);
        return SubstituteLabel(kCodePlaceholder, High(target), Low(target), w);
    }
    return std::string(token);
}

std::string InstructionText(const OpcodeText& entry, Processor& p, Workspace& w) {
    std::string text(entry.mnemonic);
    text += '\t';
    std::string_view rest = entry.operands;
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        text += OperandText(rest.substr(0, comma), p, w);
        if (comma == std::string_view::npos) break;
        text += ',';
        rest.remove_prefix(comma + 1);
    }
    return text;
}

std::string OpcodeBytesText(const Processor& p) {
    const std::uint8_t bytes[] = {p.ucOpcode, p.ucOperand1, p.ucOperand2};
    std::string text;
    for (unsigned i = 0; i < p.ucInstructionLength; ++i) {
        if (i > 0) text += ' ';
        AppendHexByte(text, bytes[i]);
    }
    return text;
}

}  // namespace

int DecodeInstruction(Processor& p, Workspace& w) {
    p.ucExecutionStatus = kStatusDecoding;
    // Not reduced to 16 bits: past FFFFh the guard bytes answer.
    p.ucOpcode = p.ReadCode(p.usPC);
    p.ucOperand1 = p.ReadCode(p.usPC + 1u);
    p.ucOperand2 = p.ReadCode(p.usPC + 2u);
    p.strOpcodeBytes.clear();

    const OpcodeTiming timing = kOpcodeTimings[p.ucOpcode];
    // The relative-jump routine reads the length to find the next instruction.
    p.ucInstructionLength = timing.length;
    p.ucInstructionCycles = timing.cycles;

    if (p.ucOpcode == kReservedOpcode) {
        p.strInstruction = kReservedText;
        p.lstErrors.Append(messages::kReservedOpcode);
    } else {
        p.strInstruction = InstructionText(kOpcodeTexts[p.ucOpcode], p, w);
    }
    p.strOpcodeBytes = OpcodeBytesText(p);
    return 1;
}

std::string DirectOperandText(std::uint8_t address, Workspace& w) {
    const std::string_view name = kSfrNames[address];
    return name.empty() ? NumberText(address, w) : std::string(name);
}

std::string SubstituteLabel(std::string_view placeholder, std::uint8_t high, std::uint8_t low, Workspace& w) {
    const TextList* list = nullptr;
    int digits = 0;
    if (placeholder == kCodePlaceholder) {
        list = &w.lstCodeLabels;
        digits = 5;
    } else if (placeholder == kBitPlaceholder) {
        list = &w.lstBitLabels;
        digits = 3;
    } else if (placeholder == kNumberPlaceholder) {
        list = &w.lstNumberLabels;
        digits = w.bByteNumbers != 0 ? 3 : 5;
    } else {
        return {};
    }
    const unsigned value = (static_cast<unsigned>(high) << 8) | low;
    // A list being refilled by an import may be short; treat missing entries as unlabelled.
    if (value < list->Count() && (*list)[value] != Workspace::kNoLabel) return (*list)[value];
    return HexNumber(value, digits);
}

}  // namespace tessaly
