#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/Workspace.h"

// The toolchain symbol files beside the assembler listings: SDCC's linker map,
// NoICE file, debug file and relocated listing, and as31's listing. Each
// reader turns a file's lines into named values; one store puts them into the
// workspace's label lists.
namespace tessaly {

enum class LabelKind { Code, Bit, Number };

struct ImportedSymbol {
    std::string name;
    LabelKind kind;
    std::uint16_t value;
};

// What a file holds, told by its extension in any letter case: ".map", ".noi",
// ".cdb" and ".rst" are SDCC's; every other name is an assembler listing.
enum class SymbolFileKind { Listing, SdccMap, SdccNoice, SdccDebug, SdccRelocatedListing };
SymbolFileKind SymbolFileKindOf(const std::filesystem::path& path);

// How specific a name is: a compiler's numbered local label ("00105$") is
// less specific than any other name.
int LabelRank(std::string_view name);

// Whether `name` may replace `current` at one value of a list: an empty slot
// or a name at least as specific (so, among equals, the later one wins).
bool LabelReplaces(std::string_view name, std::string_view current);

// Empties the three label lists, then stores the symbols in order.
void StoreSymbols(const std::vector<ImportedSymbol>& symbols, Workspace& w);

// Adds the labels of `from` to `into`, value by value, where LabelReplaces
// allows it: the second of two files imported together.
void MergeLabels(Workspace& into, const Workspace& from);

// The readers. Each returns false when the lines are not a file of its kind
// (nothing then goes into `out`); a line it cannot read is skipped.
bool ReadSdccMap(const std::vector<std::string>& lines, std::vector<ImportedSymbol>& out);
bool ReadNoiceFile(const std::vector<std::string>& lines, std::vector<ImportedSymbol>& out);
bool ReadSdccDebugFile(const std::vector<std::string>& lines, std::vector<ImportedSymbol>& out);
bool ReadRelocatedListing(const std::vector<std::string>& lines, std::vector<ImportedSymbol>& out);
bool ReadAs31Listing(const std::vector<std::string>& lines, std::vector<ImportedSymbol>& out);

namespace symbols {

// Whitespace-separated words of a line.
std::vector<std::string_view> Words(std::string_view line);

// A hexadecimal number of one to eight digits that fits in 16 bits.
bool HexAddress(std::string_view digits, std::uint16_t& value);

// Names the linker makes up for itself: the bounds of each area ("s_CSEG",
// "l_CSEG"), and names that start with a dot (".__.ABS.").
bool IsLinkerName(std::string_view name);

// A name as assemblers write them: letters, digits, '_', '$' and '.', not
// starting with a digit unless it is a numbered local label ("00105$").
bool IsSymbolName(std::string_view name);

// SDCC's debug names carry '$' ("G$main$0$0", "C$file.c$12$0$0"); its
// numbered local labels end in one ("00105$") and are kept.
bool IsDebugName(std::string_view name);

// The list kind of an area from its name and attributes, as SDCC's areas
// name them: CODE areas hold code labels, BIT areas bits, the rest data.
LabelKind AreaKind(std::string_view name, std::string_view attributes);

}  // namespace symbols

}  // namespace tessaly
