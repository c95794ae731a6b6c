#pragma once

#include <array>
#include <string_view>

namespace tessaly {

// How the decoder writes one opcode: the mnemonic and an operand pattern.
//
// The pattern is a comma-separated list of tokens; each token that is not one
// of the following is copied as it stands (A, C, AB, DPTR, @DPTR, @A+DPTR, ...):
//   Rn, @Ri        register from the opcode's low three bits / low bit
//   dir1, dir2     direct address in operand byte 1 / 2
//   #1, #2         immediate byte in operand byte 1 / 2
//   #16            immediate word, operand byte 1 high, byte 2 low
//   bit1, /bit1    bit address in operand byte 1, plain / complemented
//   addr16         long code address, operand byte 1 high, byte 2 low
//   addr11         AJMP/ACALL target within the 2 KB page
//   rel            relative target from the instruction's last byte
struct OpcodeText {
    std::string_view mnemonic;
    std::string_view operands;
};

// Indexed by opcode. The reserved opcode A5 has an empty mnemonic.
extern const std::array<OpcodeText, 256> kOpcodeTexts;

}  // namespace tessaly
