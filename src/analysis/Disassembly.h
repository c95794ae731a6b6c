#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessaly {

class Processor;
class Workspace;

// One instruction of a program listing.
struct DisassemblyRow {
    std::uint16_t address = 0;
    std::string label;        // the code label at the address, empty for none
    std::string instruction;  // the decoded text with its operands at column 11
    std::uint8_t length = 0;
    std::uint8_t cycles = 0;
};

// Reports how far a listing has got, in steps of ten percent.
class DisassemblyProgress {
public:
    virtual ~DisassemblyProgress() = default;
    virtual void Started() = 0;
    virtual void Reached(int percent) = 0;
    virtual void Finished() = 0;
};

// Walks code memory linearly from 0000h over iProgramSize bytes, decoding each
// instruction where the previous one ended (data bytes show as instructions).
// usPC is the same afterwards. Empty when no program is loaded.
std::vector<DisassemblyRow> DisassembleProgram(Processor& p, Workspace& w, DisassemblyProgress* progress = nullptr);

// The decoded text with its tab replaced by blanks, so that operands start at
// character 11 whatever the mnemonic's length.
std::string AlignOperands(const std::string& instruction);

// The address as the listing shows it: four upper-case digits and "H".
std::string ListingAddress(std::uint16_t address);

// The exported listing, one entry per row: "0000H:\t\tLJMP      MAIN", or for
// a labelled row "MAIN:\r\n\t\t\t" followed by the instruction.
std::vector<std::string> ExportLines(const std::vector<DisassemblyRow>& rows);

// Writes the export lines, each ended by CR LF. Returns false when the file
// cannot be created or written.
bool WriteExport(const std::string& path, const std::vector<DisassemblyRow>& rows);

}  // namespace tessaly
