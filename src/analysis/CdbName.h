#pragma once

#include <optional>
#include <string_view>

// The names SDCC's debug file (.cdb) gives its symbols, functions and lines:
//   G$counter$0_0$0            a global: scope, name, level, block
//   Fc_printf$serial_init$0_0$0  a file static of module c_printf
//   Lc_printf.main$n$1_0$19    a local of main in module c_printf
//   S$x$0_0$0                  a struct member
// The level is written "1_0" (level and sub-level) by current SDCC and "1" by
// older ones; both read alike.
namespace tessaly {

// A line of the file is a record: an upper-case letter and a colon first.
bool IsCdbRecord(std::string_view line);

// "G$main$0_0$0" -> "G$main": scope and name, the part that a symbol, its
// address record and its function's start and end labels share.
std::string_view CdbKey(std::string_view name);

// A nesting level and block as SDCC numbers them: the level counts the open
// braces (1 for a function's outermost block), the block numbers every
// compound statement of the module in the order it opens.
struct CScopeLevel {
    int level = 0;
    int subLevel = 0;
    int block = 0;

    friend bool operator==(const CScopeLevel&, const CScopeLevel&) = default;
};

// "1_0" or "1" and a block number; nothing when either is not a number.
std::optional<CScopeLevel> ParseCScopeLevel(std::string_view level, std::string_view block);

struct CdbName {
    char scope = 'G';          // G global, F file static, L local, S struct member
    std::string_view owner;    // F: the module; L: "module.function"; empty for G and S
    std::string_view name;
    CScopeLevel level;
};

// The four '$'-separated parts of a symbol's name; nothing for any other text.
std::optional<CdbName> ParseCdbName(std::string_view text);

// A decimal number with an optional '-', the whole text; nothing otherwise.
std::optional<int> ParseCdbInteger(std::string_view text);

}  // namespace tessaly
