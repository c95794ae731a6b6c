#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/Workspace.h"
#include "core/Processor.h"

namespace tessaly {

// Operand kinds for SubstituteLabel. The same ten-character texts mark the
// symbol types in an assembler listing's symbol table.
inline constexpr std::string_view kCodePlaceholder = "  C ADDR  ";
inline constexpr std::string_view kBitPlaceholder = "  B ADDR  ";
inline constexpr std::string_view kNumberPlaceholder = "    NUMB  ";

// Text of the instruction that begins at usPC: fills ucOpcode, ucOperand1,
// ucOperand2 (always the three bytes), ucInstructionLength,
// ucInstructionCycles, strOpcodeBytes and strInstruction, and leaves
// ucExecutionStatus at "decoding". usPC does not move. Returns 1.
int DecodeInstruction(Processor& p, Workspace& w);

// A direct address as the instruction text writes it: the SFR name for the 26
// named SFR addresses, the number substitution for every other byte.
std::string DirectOperandText(std::uint8_t address, Workspace& w);

// The label of value high:low from the list the placeholder selects, or, when
// there is none, the value as a hexadecimal number with a leading 0 and a
// trailing H (code addresses five digits, bits three, numbers three or five
// per bByteNumbers). Returns an empty text for any other placeholder.
std::string SubstituteLabel(std::string_view placeholder, std::uint8_t high, std::uint8_t low, Workspace& w);

}  // namespace tessaly
