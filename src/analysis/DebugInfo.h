#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/CFunction.h"
#include "analysis/CStruct.h"
#include "analysis/CSymbol.h"
#include "analysis/CType.h"
#include "analysis/SourceMap.h"

// What SDCC's debug file (.cdb) tells about a C program: its modules, source
// lines, functions, variables and their types. ReadCdb (CdbReader.h) builds it.
namespace tessaly {

// Where a pc is in the C source.
struct CSourcePosition {
    const CFunction* function = nullptr;
    const CSourceLine* line = nullptr;  // nothing where the function has no line record
};

class DebugInfo {
public:
    DebugInfo() = default;
    DebugInfo(std::vector<std::string> modules, std::vector<CFunction> functions, std::vector<CSymbol> symbols,
              std::vector<CStruct> structs, SourceMap lines);

    // The modules (M: records) in the order of the file: one per linked
    // object built with --debug.
    const std::vector<std::string>& Modules() const { return modules_; }
    const std::vector<CFunction>& Functions() const { return functions_; }
    const std::vector<CSymbol>& Symbols() const { return symbols_; }
    const std::vector<CStruct>& Structs() const { return structs_; }
    const SourceMap& Lines() const { return lines_; }

    // The struct or union a Struct type names; nothing when the file has no
    // record of its members.
    const CStruct* StructOf(const CType& type) const;

    // The function whose range holds pc.
    const CFunction* FunctionAt(std::uint16_t pc) const;
    // A function by its C name: the global one, else the first file-static one.
    const CFunction* FunctionNamed(std::string_view name) const;

    // The function at pc and its line: the line record with the greatest
    // address not above pc within the function's range.
    CSourcePosition PositionAt(std::uint16_t pc) const;

    // Where a break point on a function stops once its prologue has run: the
    // first address within the function of a line other than the line its
    // entry is recorded on (the line with its name). The entry itself when
    // the function has no such line; nothing when it has no start address.
    std::optional<std::uint16_t> BodyStart(const CFunction& function) const;

    // A variable visible from everywhere, by C name: the global, else the
    // file static of `module`, else (with no module given) any file static.
    // Functions' own symbols are not variables.
    const CSymbol* GlobalNamed(std::string_view name, std::string_view module = {}) const;

    // The locals and parameters of `function` in scope at pc, in the order of
    // the file: those whose level and block are at most those of pc's line
    // record, as SDCC numbers blocks; of two that share a name, the inner one.
    // All of them when pc has no line in the function. Compiler temporaries
    // are left out.
    std::vector<const CSymbol*> LocalsAt(const CFunction& function, std::uint16_t pc) const;

private:
    std::vector<std::string> modules_;
    std::vector<CFunction> functions_;
    std::vector<CSymbol> symbols_;
    std::vector<CStruct> structs_;
    SourceMap lines_;
};

}  // namespace tessaly
