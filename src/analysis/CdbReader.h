#pragma once

#include <string>
#include <variant>
#include <vector>

#include "analysis/DebugInfo.h"

namespace tessaly {

// Reads the lines of SDCC's debug file (.cdb, written with --debug; the
// linker merges every module's records into one file):
//   M:module                                   a module
//   F:G$main$0_0$0({2}DF,SV:S),C,0,0,0,0,0      a function: its type, space,
//                                              on-stack flag and frame size,
//                                              interrupt flag, number, bank
//   S:Lmod.main$n$1_0$19({1}SC:U),R,0,0,[r3]   a symbol: its type, space,
//                                              on-stack flag and offset, and
//                                              the registers of a register variable
//   T:Fmod$point[({0}S:S$x$0_0$0({2}SI:S),Z,0,0)...]   a struct's members
//   L:G$main$0$0:81, L:XG$main$0$0:154         a function's start and end
//   L:Lmod.main$a$1_0$19:C                     a symbol's address
//   L:C$file.c$40$2_0$19:81, L:A$mod$454:0     C and assembler lines
// Addresses are hexadecimal, every other number decimal. Records of other
// kinds and blank lines are skipped, as are address records for names with
// no symbol or function record and addresses past 16 bits (banked code).
// All or nothing: a line that is not a record, or a record it cannot read,
// gives a message naming the line ("line 7: ...") and no information.
std::variant<DebugInfo, std::string> ReadCdb(const std::vector<std::string>& lines);

}  // namespace tessaly
