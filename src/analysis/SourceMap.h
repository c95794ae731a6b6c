#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "analysis/CdbName.h"

namespace tessaly {

// L:C$file.c$LINE$LEVEL$BLOCK:ADDR: code for a C line starts at ADDR. A line
// may start at several addresses (a loop's test and its step), and several
// lines at one (lines that made no code of their own).
struct CSourceLine {
    std::string file;  // as SDCC writes it: the base name, spaces and '-' as '_'
    int line = 0;
    CScopeLevel level;
    std::uint16_t address = 0;
};

// L:A$module$LINE:ADDR: a line of an assembler module (.asm) starts at ADDR.
struct AsmSourceLine {
    std::string module;
    int line = 0;
    std::uint16_t address = 0;
};

// Where a break point on a line goes: the line that has code (the one asked
// for or the next) and its first address.
struct LineBreakPoint {
    std::string file;
    int line = 0;
    std::uint16_t address = 0;
};

// Addresses to source lines and back.
class SourceMap {
public:
    SourceMap() = default;
    // Records in the order of the file; a record repeated exactly is kept once.
    SourceMap(std::vector<CSourceLine> lines, std::vector<AsmSourceLine> asmLines);

    // The C line records by address; records at one address keep the file's order.
    const std::vector<CSourceLine>& Lines() const { return lines_; }
    const std::vector<AsmSourceLine>& AsmLines() const { return asmLines_; }

    // The C files the line records name, sorted.
    std::vector<std::string> Files() const;

    // The line being executed at `pc` among the records from `lowest` to
    // `highest` (a function's range): the record with the greatest address
    // not above pc, the last such record of the file where several share it.
    // Nothing when pc is outside the range or no record in it is at or below pc.
    const CSourceLine* LineAt(std::uint16_t pc, std::uint16_t lowest, std::uint16_t highest) const;

    // The assembler line at or before `pc` within the span of its module's
    // records; nothing past them.
    const AsmSourceLine* AsmLineAt(std::uint16_t pc) const;

    // Every address where `line` of `file` starts, ascending; `file` may be a
    // path and is matched as SameSourceFile matches it.
    std::vector<std::uint16_t> AddressesOf(std::string_view file, int line) const;

    // A break point on a line: its first (lowest) address, or, for a line
    // with no code, the first address of the next line of the file that has
    // some. Nothing past the file's last line with code or for an unknown file.
    std::optional<LineBreakPoint> BreakPointAt(std::string_view file, int line) const;

    // Whether a file name of a line record names `path` (a name or a path):
    // SDCC writes the base name with spaces and '-' turned into '_'.
    static bool SameSourceFile(std::string_view recorded, std::string_view path);

private:
    std::vector<CSourceLine> lines_;
    std::vector<AsmSourceLine> asmLines_;
    // By file name as SameSourceFile compares it, then line: addresses ascending.
    std::map<std::pair<std::string, int>, std::vector<std::uint16_t>> byLine_;
    // The file name as the records write it, by its compared form.
    std::map<std::string, std::string> recordedName_;
    // Each assembler module's highest address.
    std::map<std::string, std::uint16_t> asmModuleEnd_;
};

}  // namespace tessaly
