#pragma once

#include <filesystem>
#include <string>
#include <variant>

#include "analysis/CdbReader.h"
#include "util/FileBytes.h"
#include "util/Lines.h"

namespace tessaly::test {

// What SDCC 4.2 writes with --debug for a program with a variable of each
// kind (trimmed to the records of interest):
//   struct point { int x; int y; };  union u { long l; unsigned char b[4]; };
//   struct flags { unsigned a:3; unsigned b:5; signed c:4; };
//   typedef struct node { struct node *next; char tag; } node_t;
// and main(), a reentrant mix(char a, long b, struct pair *p) with stack
// parameters and locals (from a --stack-auto build), and an interrupt
// handler using bank 1. SDCC's linker writes no address record for __bit
// variables; the one for flag is added by hand.
inline const char* const kTypesCdb =
    "M:types\n"
    "F:Ftypes$twice$0_0$0({2}DF,SI:S),C,0,0,0,0,0\n"
    "F:G$isr0$0_0$0({2}DF,SV:S),C,0,0,1,1,1\n"
    "F:G$main$0_0$0({2}DF,SV:S),C,0,0,0,0,0\n"
    "F:G$mix$0_0$0({2}DF,SL:S),C,0,1,0,0,0\n"
    "T:Ftypes$flags[({0}S:S$a$0_0$0({1}SB0$3:U),Z,0,0)({0}S:S$b$0_0$0({1}SB3$5:U),Z,0,0)"
    "({1}S:S$c$0_0$0({1}SB0$4:S),Z,0,0)]\n"
    "T:Ftypes$point[({0}S:S$x$0_0$0({2}SI:S),Z,0,0)({2}S:S$y$0_0$0({2}SI:S),Z,0,0)]\n"
    "T:Ftypes$u[({0}S:S$l$0_0$0({4}SL:S),Z,0,0)({0}S:S$b$0_0$0({4}DA4d,SC:U),Z,0,0)]\n"
    "T:Ftypes$node[({0}S:S$next$0_0$0({3}DG,STnode:S),Z,0,0)({3}S:S$tag$0_0$0({1}SC:U),Z,0,0)]\n"
    "S:G$yes$0_0$0({1}:S),E,0,0\n"
    "S:G$ratio$0_0$0({4}SF:S),E,0,0\n"
    "S:G$big$0_0$0({4}SL:S),E,0,0\n"
    "S:G$huge$0_0$0({8}SI:S),E,0,0\n"
    "S:G$both$0_0$0({4}STu:S),E,0,0\n"
    "S:G$fl$0_0$0({2}STflags:S),E,0,0\n"
    "S:G$head$0_0$0({4}STnode:S),E,0,0\n"
    "S:G$gp$0_0$0({3}DG,SC:U),E,0,0\n"
    "S:G$xp$0_0$0({2}DX,SC:U),E,0,0\n"
    "S:G$pp$0_0$0({1}DP,SC:U),E,0,0\n"
    "S:G$fn$0_0$0({2}DC,DF,SI:S),E,0,0\n"
    "S:Ftypes$sh$0_0$0({2}SI:S),E,0,0\n"
    "S:G$sc$0_0$0({1}SC:S),E,0,0\n"
    "S:G$pts$0_0$0({8}DA2d,STpoint:S),E,0,0\n"
    "S:G$grid$0_0$0({12}DA2d,DA3d,SI:S),E,0,0\n"
    "S:Ltypes.main$local$1_0$11({4}STpoint:S),E,0,0\n"
    "S:Ltypes.main$f$1_0$11({4}SF:S),R,0,0,[r4,r5,r6,r7]\n"
    "S:Ltypes.main$sloc0$0_1$0({4}SL:S),E,0,0\n"
    "S:Ltypes.mix$b$1_0$3({4}SL:S),B,1,-6\n"
    "S:Ltypes.mix$p$1_0$3({3}DG,STpoint:S),B,1,-9\n"
    "S:Ltypes.mix$a$1_0$3({1}SC:U),R,0,0,[r7]\n"
    "S:Ltypes.mix$k$1_0$4({2}DA2d,SC:U),B,1,7\n"
    "S:Ltypes.mix$r$1_0$4({2}SI:S),R,0,0,[]\n"
    "S:G$ibuf$0_0$0({3}DA3d,SC:U),G,0,0\n"
    "S:G$flag$0_0$0({1}SB0$1:U),H,0,0\n"
    "S:G$pword$0_0$0({2}SI:U),P,0,0\n"
    "S:G$xarr$0_0$0({10}DA5d,SI:S),F,0,0\n"
    "S:G$main$0_0$0({2}DF,SV:S),C,0,0\n"
    "S:G$msg$0_0$0({3}DA3d,SC:U),D,0,0\n"
    "S:G$TI$0_0$0({1}SX:U),J,0,0\n"
    "S:G$P1$0_0$0({1}SC:U),I,0,0\n"
    "L:G$yes$0_0$0:21\n"
    "L:G$ratio$0_0$0:22\n"
    "L:G$big$0_0$0:26\n"
    "L:G$huge$0_0$0:2E\n"
    "L:G$both$0_0$0:3A\n"
    "L:G$fl$0_0$0:3E\n"
    "L:G$head$0_0$0:40\n"
    "L:G$gp$0_0$0:44\n"
    "L:G$xp$0_0$0:47\n"
    "L:G$pp$0_0$0:4D\n"
    "L:G$fn$0_0$0:4E\n"
    "L:Ftypes$sh$0_0$0:50\n"
    "L:G$sc$0_0$0:52\n"
    "L:G$pts$0_0$0:53\n"
    "L:G$grid$0_0$0:5B\n"
    "L:Ltypes.main$local$1_0$11:68\n"
    "L:Ltypes.main$sloc0$0_1$0:6C\n"
    "L:G$ibuf$0_0$0:1B\n"
    "L:G$flag$0_0$0:3\n"
    "L:G$pword$0_0$0:1\n"
    "L:G$xarr$0_0$0:3\n"
    "L:G$TI$0_0$0:99\n"
    "L:G$P1$0_0$0:90\n"
    "L:C$types.c$35$0_0$3:87\n"
    "L:Ftypes$twice$0$0:87\n"
    "L:C$types.c$35$1_0$3:93\n"
    "L:XFtypes$twice$0$0:93\n"
    "L:C$types.c$15$1_0$4:D3\n"
    "L:G$mix$0$0:D3\n"
    "L:C$types.c$17$2_0$4:DF\n"
    "L:C$types.c$22$1_0$4:17B\n"
    "L:XG$mix$0$0:17B\n"
    "L:C$types.c$48$1_0$9:103\n"
    "L:C$types.c$51$1_0$9:103\n"
    "L:G$isr0$0$0:103\n"
    "L:C$types.c$53$1_0$9:108\n"
    "L:XG$isr0$0$0:108\n"
    "L:C$types.c$55$1_0$11:109\n"
    "L:C$types.c$57$2_0$11:109\n"
    "L:G$main$0$0:109\n"
    "L:C$types.c$71$1_0$11:20C\n"
    "L:XG$main$0$0:20C\n"
    "L:G$msg$0_0$0:50E\n";

inline DebugInfo ReadCdbText(const std::string& text) {
    auto read = ReadCdb(SplitLines(text));
    if (auto* message = std::get_if<std::string>(&read)) throw std::runtime_error(*message);
    return std::move(std::get<DebugInfo>(read));
}

inline DebugInfo ReadCPrintfCdb() {
    const auto text = ReadWholeFile(std::filesystem::path(TESSALY_SOURCE_DIR) / "examples/c-printf/c-printf.cdb");
    if (!text) throw std::runtime_error("examples/c-printf/c-printf.cdb is missing");
    return ReadCdbText(*text);
}

}  // namespace tessaly::test
