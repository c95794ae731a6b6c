#include "control/BreakPoints.h"

#include "util/HexText.h"

namespace tessaly {

std::string BreakPoints::Text(std::uint16_t address) { return "0x" + HexText(address, 4); }

std::optional<std::uint16_t> BreakPoints::ParseText(std::string_view text) {
    if (text.size() != 6 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return std::nullopt;
    unsigned value = 0;
    for (std::size_t i = 2; i < 6; ++i) {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return static_cast<std::uint16_t>(value);
}

std::uint16_t BreakPoints::AddressAt(std::size_t index) const { return *ParseText(list_[index]); }

std::optional<std::uint16_t> BreakPoints::Highest() const {
    if (list_.Empty()) return std::nullopt;
    return ParseText(list_.Last());
}

bool BreakPoints::Add(std::uint16_t address) {
    if (Contains(address)) return false;
    addresses_.Insert(address);
    // Additions in ascending order (the disassembly window's) append; any
    // other order rebuilds the text list from the bit set.
    const auto highest = Highest();
    if (!highest || address > *highest) list_.Append(Text(address));
    else RebuildList();
    return true;
}

bool BreakPoints::Delete(std::uint16_t address) {
    if (!Contains(address)) return false;
    addresses_.Erase(address);
    if (Highest() == address) list_.DeleteLast();
    else RebuildList();
    return true;
}

bool BreakPoints::DeleteAt(std::size_t index) {
    if (index >= list_.Count()) return false;
    return Delete(AddressAt(index));
}

bool BreakPoints::Toggle(std::uint16_t address) {
    if (Delete(address)) return false;
    Add(address);
    return true;
}

void BreakPoints::Clear() {
    addresses_.Clear();
    list_.Clear();
}

void BreakPoints::SetFromLines(const std::vector<std::string>& lines) {
    addresses_.Clear();
    for (const std::string& line : lines) {
        if (const auto address = ParseText(line)) addresses_.Insert(*address);
    }
    RebuildList();
}

bool BreakPoints::CheckBreakPoint(Processor& processor) const {
    if (!Contains(processor.usPC)) return false;
    processor.bSkipBreakPointOnce = 1;
    return true;
}

bool BreakPoints::StopsBeforeInstruction(Processor& processor) const {
    if (processor.bSkipBreakPointOnce == 0 && CheckBreakPoint(processor)) return true;
    processor.bSkipBreakPointOnce = 0;
    return false;
}

void BreakPoints::RebuildList() {
    list_.Clear();
    addresses_.ForEach([this](std::uint16_t address) { list_.Append(Text(address)); });
}

}  // namespace tessaly
