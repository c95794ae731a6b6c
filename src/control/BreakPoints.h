#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/AddressSet.h"
#include "core/Processor.h"
#include "core/TextList.h"

namespace tessaly {

// The break point addresses. The text list ("0x" and four upper-case hex
// digits, sorted, no duplicates) is what windows show and the snapshot file
// stores; a 64K-bit set beside it answers the test made before every
// instruction in constant time.
class BreakPoints {
public:
    // "0x" followed by four upper-case hexadecimal digits.
    static std::string Text(std::uint16_t address);
    // The address of a break point text: "0x" or "0X" and exactly four
    // hexadecimal digits of either case; nothing for any other text.
    static std::optional<std::uint16_t> ParseText(std::string_view text);
    // How the Break Points window shows an address: four digits and "H" (1A2BH).
    static std::string DisplayText(std::uint16_t address) { return Text(address).substr(2) + "H"; }

    const TextList& List() const { return list_; }
    std::size_t Count() const { return list_.Count(); }
    bool Empty() const { return list_.Empty(); }
    bool Contains(std::uint16_t address) const { return addresses_.Contains(address); }
    const AddressSet& Addresses() const { return addresses_; }
    // The address of entry `index`, which must exist.
    std::uint16_t AddressAt(std::size_t index) const;

    // Returns false (and changes nothing) when the address is already listed.
    bool Add(std::uint16_t address);
    // Returns false when the address is not listed.
    bool Delete(std::uint16_t address);
    // Deletes entry `index`; returns false when there is no such entry.
    bool DeleteAt(std::size_t index);
    // Adds the address, or deletes it when listed; returns true when it is now listed.
    bool Toggle(std::uint16_t address);
    void Clear();

    // Replaces the list with the break point texts among `lines`, sorted and
    // without duplicates. Lower-case digits and "0X" are taken and rewritten in
    // the standard form; every other line (blank, other lengths, other text)
    // is dropped.
    void SetFromLines(const std::vector<std::string>& lines);

    // The test before an instruction: true when usPC holds a break point,
    // which also sets bSkipBreakPointOnce; otherwise false, changing nothing.
    bool CheckBreakPoint(Processor& processor) const;

    // What every execution loop does before it executes an instruction: true
    // when it must stop here (the skip flag was clear and usPC holds a break
    // point; the flag is then set). Otherwise clears the flag, so the
    // instruction a run stopped at executes once when the run resumes.
    bool StopsBeforeInstruction(Processor& processor) const;

    friend bool operator==(const BreakPoints& a, const BreakPoints& b) { return a.addresses_ == b.addresses_; }

private:
    std::optional<std::uint16_t> Highest() const;
    void RebuildList();

    AddressSet addresses_;
    TextList list_;
};

}  // namespace tessaly
