#include "analysis/Disassembly.h"

#include <cstdio>
#include <fstream>

#include "analysis/Decoder.h"
#include "analysis/Workspace.h"
#include "core/Processor.h"
#include "util/HexText.h"

namespace tessaly {

std::string AlignOperands(const std::string& instruction) {
    const auto tab = instruction.find('\t');
    if (tab == std::string::npos) return instruction;
    const std::size_t position = tab + 1;  // 1-based
    const std::size_t blanks = position < 11 ? 11 - position : 0;
    std::string aligned = instruction.substr(0, tab);
    aligned.append(blanks, ' ');
    aligned += instruction.substr(tab + 1);
    return aligned;
}

std::string ListingAddress(std::uint16_t address) { return HexText(address, 4) + "H"; }

std::vector<DisassemblyRow> DisassembleProgram(Processor& p, Workspace& w, DisassemblyProgress* progress) {
    std::vector<DisassemblyRow> rows;
    if (p.iProgramSize == 0) return rows;
    const std::uint16_t savedPC = p.usPC;
    const auto size = static_cast<std::uint32_t>(p.iProgramSize);
    if (progress) progress->Started();
    p.usPC = 0;
    std::uint32_t consumed = 0;
    bool reportNextStep = true;
    while (consumed < size) {
        DecodeInstruction(p, w);
        DisassemblyRow row;
        row.address = p.usPC;
        const std::string& label = w.lstCodeLabels[p.usPC];
        if (label != "~") row.label = label;
        row.instruction = AlignOperands(p.strInstruction.str());
        row.length = p.ucInstructionLength;
        row.cycles = p.ucInstructionCycles;
        rows.push_back(std::move(row));
        p.usPC = static_cast<std::uint16_t>(p.usPC + p.ucInstructionLength);
        consumed += p.ucInstructionLength;
        const auto percent = static_cast<int>(std::uint64_t{100} * consumed / size);
        if (percent % 10 != 0) {
            reportNextStep = true;
        } else if (reportNextStep) {
            reportNextStep = false;
            if (progress) progress->Reached(percent);
        }
    }
    p.usPC = savedPC;
    if (progress) progress->Finished();
    return rows;
}

std::vector<std::string> ExportLines(const std::vector<DisassemblyRow>& rows) {
    std::vector<std::string> lines;
    lines.reserve(rows.size());
    for (const auto& row : rows) {
        if (row.label.empty()) lines.push_back(ListingAddress(row.address) + ":\t\t" + row.instruction);
        else lines.push_back(row.label + ":\r\n\t\t\t" + row.instruction);
    }
    return lines;
}

bool WriteExport(const std::string& path, const std::vector<DisassemblyRow>& rows) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    for (const auto& line : ExportLines(rows)) out << line << "\r\n";
    out.flush();
    return static_cast<bool>(out);
}

}  // namespace tessaly
