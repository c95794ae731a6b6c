#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/MessageHost.h"
#include "core/Processor.h"

namespace tessaly {

// What opening a program file came to.
enum class ProgramOpen { Opened, Missing, Failed };

enum class ProgramFileKind { IntelHex, Binary, Unknown };

// The extension of the file name, from its last dot, dot included; empty when
// the name has no dot.
std::string FileExtension(const std::filesystem::path& path);

// ".HEX" and ".IHX" (SDCC's output) are Intel HEX, ".BIN" raw binary, in any
// letter case.
ProgramFileKind ProgramFileKindOf(const std::filesystem::path& path);

// Loads a program image into code memory and sets iProgramSize: the Intel HEX
// reader's highest address + 1, or the binary's length. A missing file shows
// "Unable to open file" and changes nothing; on Failed the code memory may hold a partial image, which the
// caller discards by closing the file (a full workspace reset).
ProgramOpen OpenProgramFile(const std::filesystem::path& path, Processor& processor, MessageHost& host);


// Every symbol file beside a program that an automatic import may read, in
// the order to try them: the listing (".LST", then ".lst"), then SDCC's
// linker map, NoICE file, debug file and relocated listing.
std::vector<std::filesystem::path> SymbolFilesFor(const std::filesystem::path& programPath);

// The symbol file that Get Labels From File proposes for a program: the first
// of SymbolFilesFor, except that beside an SDCC image (.ihx) the listing is
// SDCC's unlinked one and is passed over. Empty when there is none.
std::filesystem::path ProposedSymbolFileFor(const std::filesystem::path& programPath);

}  // namespace tessaly
