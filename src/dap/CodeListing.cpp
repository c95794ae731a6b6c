#include "dap/CodeListing.h"

#include "analysis/Decoder.h"
#include "analysis/Disassembly.h"
#include "analysis/NearestCodeLabel.h"

namespace tessaly::dap {

namespace {

bool HasLabel(const std::string& label) { return !label.empty() && label != "~"; }

}  // namespace

std::vector<ListedInstruction> ListCode(Session& s, std::uint32_t from, std::uint32_t to,
                                        const std::set<std::uint16_t>& anchors) {
    Processor& p = s.processor();
    std::vector<ListedInstruction> rows;
    to = std::min<std::uint32_t>(to, 0x10000);
    const std::uint16_t pc = p.usPC;
    std::uint32_t address = from;
    while (address < to) {
        p.usPC = static_cast<std::uint16_t>(address);
        DecodeInstruction(p, s.workspace);
        ListedInstruction row;
        row.address = p.usPC;
        row.length = p.ucInstructionLength == 0 ? 1 : p.ucInstructionLength;
        row.bytes = p.strOpcodeBytes;
        while (!row.bytes.empty() && row.bytes.back() == ' ') row.bytes.pop_back();
        const std::string& label = s.workspace.lstCodeLabels[row.address];
        if (HasLabel(label)) row.label = label;
        row.text = AlignOperands(p.strInstruction.str());
        while (!row.text.empty() && row.text.back() == ' ') row.text.pop_back();
        std::uint32_t next = address + row.length;
        const auto anchor = anchors.upper_bound(row.address);
        if (anchor != anchors.end() && *anchor < next) next = *anchor;
        address = next;
        rows.push_back(std::move(row));
    }
    p.usPC = pc;
    s.controller().DecodeCurrentInstruction();
    return rows;
}

std::string NearestLabel(const Session& s, std::uint16_t address) {
    const auto near = NearestCodeLabel(s.workspace, address);
    if (!near) return {};
    return near->distance == 0 ? near->label : near->label + "+" + std::to_string(near->distance);
}

}  // namespace tessaly::dap
