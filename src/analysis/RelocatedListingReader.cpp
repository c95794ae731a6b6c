#include <map>
#include <string>
#include <string_view>

#include "analysis/SymbolFile.h"
#include "util/AsciiCase.h"
#include "util/HexText.h"

// SDCC's relocated listing (.rst): the assembler's listing with the
// addresses the linker gave, one source line a line:
//
//         00006D                        503 _helper:
//         0000AA D2 00            [12]  587 	setb	_flag
//                                       455 	.area CSEG    (CODE)
//
// address, code bytes, cycle count, line number, source. A label defined at
// the start of the source takes the line's address; the ".area" lines before
// it tell which memory space that address is in.
namespace tessaly {

namespace {

bool AllOf(std::string_view word, bool (*accept)(char)) {
    if (word.empty()) return false;
    for (char c : word) {
        if (!accept(c)) return false;
    }
    return true;
}

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return HexDigitValue(c) >= 0; }

// Code bytes ("D2") and cycle counts ("[12]", "[24]") between the address
// and the line number.
bool IsListingField(std::string_view word) {
    if (word.size() >= 2 && word.front() == '[' && word.back() == ']') return true;
    return word.size() == 2 && AllOf(word, IsHexDigit);
}

// Index of the first source word: the one after the line number, when every
// word before it is a listing field. 0 when the line has no line number.
std::size_t SourceStart(const std::vector<std::string_view>& words, std::size_t candidate) {
    if (candidate == 0 || candidate >= words.size() || !AllOf(words[candidate - 1], IsDecimalDigit)) return 0;
    for (std::size_t i = 1; i + 1 < candidate; ++i) {
        if (!IsListingField(words[i])) return 0;
    }
    return candidate;
}

}  // namespace

bool ReadRelocatedListing(const std::vector<std::string>& lines, std::vector<ImportedSymbol>& out) {
    std::vector<ImportedSymbol> found;
    std::map<std::string, std::string> attributesOf;
    std::string area = "_CODE";
    LabelKind kind = LabelKind::Code;
    for (const std::string& text : lines) {
        const std::string_view line = text;
        const auto words = symbols::Words(line);
        if (words.size() < 2) continue;

        // "140 .area RSEG (ABS,DATA)": an area begins or resumes.
        for (std::size_t at : {std::size_t{1}, std::size_t{2}}) {
            if (at + 1 < words.size() && SameIgnoringCase(words[at], ".area") && AllOf(words[0], IsHexDigit) &&
                (at == 1 || AllOf(words[1], IsDecimalDigit))) {
                area = std::string(words[at + 1]);
                const std::size_t rest = static_cast<std::size_t>(words[at + 1].data() - line.data()) + words[at + 1].size();
                std::string attributes(line.substr(rest));
                if (attributes.find('(') != std::string::npos) attributesOf[area] = attributes;
                kind = symbols::AreaKind(area, attributesOf[area]);
            }
        }

        // "00006D  503 _helper:" or "000076 ... [24] 549 loop: djnz r7,loop".
        std::uint16_t value = 0;
        if (!symbols::HexAddress(words[0], value)) continue;
        for (std::size_t i = 2; i < words.size(); ++i) {
            if (SourceStart(words, i) != i) continue;
            std::string_view name = words[i];
            // A code byte that reads as a line number ("12") may come first.
            if (name.back() != ':') continue;
            while (!name.empty() && name.back() == ':') name.remove_suffix(1);
            if (symbols::IsSymbolName(name) && !symbols::IsDebugName(name)) {
                found.push_back({std::string(name), kind, value});
            }
            break;
        }
    }
    if (found.empty()) return false;
    out = std::move(found);
    return true;
}

}  // namespace tessaly
