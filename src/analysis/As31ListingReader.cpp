#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "analysis/ListingImportText.h"
#include "analysis/SymbolFile.h"
#include "core/Sfr.h"
#include "util/AsciiCase.h"
#include "util/IntegerText.h"

// as31's listing (as31 -l): the address and code bytes of each line, then
// the source from column 20:
//
//   0030: 75 81 5F     start:  mov     sp, #STACK
//                      puts_end:
//   0061: 48 65 6C 6C
//         6F 2C 20 77
//
// A label takes its line's address; a label alone on a line takes the next
// address listed. ".equ name, expr" gives a number, ".flag name, byte.bit" a
// bit address.
namespace tessaly {

namespace {

constexpr std::size_t kSourceColumn = 19;

bool IsAddressLine(std::string_view line) {
    if (line.size() < 6 || line[4] != ':' || line[5] != ' ') return false;
    for (char c : line.substr(0, 4)) {
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    }
    return true;
}

bool IsNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9'); }

using listing::Trim;

// A name at the start of `text`, or empty.
std::string_view LeadingName(std::string_view text) {
    if (text.empty() || !IsNameStart(text[0])) return {};
    std::size_t end = 1;
    while (end < text.size() && IsNameChar(text[end])) ++end;
    return text.substr(0, end);
}

using Names = std::map<std::string, unsigned, std::less<>>;

// An SFR by its name in any case, as a .flag directive's "p1.7" names it.
std::optional<unsigned> SfrByName(std::string_view name) {
    for (const SfrDefinition& sfr : kSfrDefinitions) {
        if (SameIgnoringCase(name, sfr.name)) return sfr.address;
    }
    return std::nullopt;
}

// One operand: a number in as31's notations, a character, or a name defined
// earlier in the listing.
std::optional<unsigned> Operand(std::string_view token, const Names& names) {
    token = Trim(token);
    if (token.size() >= 3 && token.front() == '\'' && token.back() == '\'') {
        const std::string_view c = token.substr(1, token.size() - 2);
        if (c.size() == 1) return static_cast<unsigned char>(c[0]);
        if (c.size() == 2 && c[0] == '\\') {
            switch (c[1]) {
                case 'r': return 13u;
                case 'n': return 10u;
                case 't': return 9u;
                case '0': return 0u;
                default: return static_cast<unsigned char>(c[1]);
            }
        }
        return std::nullopt;
    }
    if (token.empty()) return std::nullopt;
    const std::string low = [&] {
        std::string s(token);
        for (char& ch : s) ch = LowerCase(ch);
        return s;
    }();
    const std::string_view t = low;
    if (t[0] >= '0' && t[0] <= '9') {
        if (t.substr(0, 2) == "0x") {
            std::string_view digits = t.substr(2);
            if (!digits.empty() && digits.back() == 'h') digits.remove_suffix(1);
            return ParseUnsigned<unsigned>(digits, 16);
        }
        if (t.back() == 'h') return ParseUnsigned<unsigned>(t.substr(0, t.size() - 1), 16);
        if (t.substr(0, 2) == "0b") return ParseUnsigned<unsigned>(t.substr(2), 2);
        if (t.back() == 'b') return ParseUnsigned<unsigned>(t.substr(0, t.size() - 1), 2);
        if (t.back() == 'd') return ParseUnsigned<unsigned>(t.substr(0, t.size() - 1), 10);
        if (t.size() > 1 && t[0] == '0') return ParseUnsigned<unsigned>(t.substr(1), 8);
        return ParseUnsigned<unsigned>(t, 10);
    }
    if (const auto found = names.find(token); found != names.end()) return found->second;
    return SfrByName(token);
}

// + - * / between operands, * and / first, each left to right; 16 bits.
std::optional<unsigned> Evaluate(std::string_view expression, const Names& names) {
    unsigned total = 0;
    unsigned term = 0;
    char additive = '+';
    char multiplicative = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= expression.size(); ++i) {
        const char c = i < expression.size() ? expression[i] : '\0';
        const bool op = c == '+' || c == '-' || c == '*' || c == '/' || c == '\0';
        // A sign inside a character constant is part of it.
        if (!op || (i > 0 && expression[i - 1] == '\'' && i + 1 < expression.size() && expression[i + 1] == '\'')) {
            continue;
        }
        const auto value = Operand(expression.substr(start, i - start), names);
        if (!value) return std::nullopt;
        if (multiplicative == '*') term *= *value;
        else if (multiplicative == '/') {
            if (*value == 0) return std::nullopt;
            term /= *value;
        } else term = *value;
        multiplicative = 0;
        if (c == '*' || c == '/') {
            multiplicative = c;
        } else {
            total = additive == '+' ? total + term : total - term;
            additive = c;
        }
        start = i + 1;
    }
    return total & 0xFFFF;
}

// "name, expr" after a directive word.
bool NameAndExpression(std::string_view rest, std::string_view& name, std::string_view& expression) {
    rest = Trim(rest);
    name = LeadingName(rest);
    if (name.empty()) return false;
    rest = Trim(rest.substr(name.size()));
    if (rest.empty() || rest.front() != ',') return false;
    rest.remove_prefix(1);
    expression = Trim(rest.substr(0, rest.find(';')));
    return !expression.empty();
}

std::optional<unsigned> BitAddress(unsigned byte, unsigned bit) {
    if (byte >= 0x20 && byte <= 0x2F) return (byte - 0x20) * 8 + bit;
    if (byte >= 0x80 && byte <= 0xFF && byte % 8 == 0) return byte + bit;
    return std::nullopt;
}

}  // namespace

bool ReadAs31Listing(const std::vector<std::string>& lines, std::vector<ImportedSymbol>& out) {
    std::vector<ImportedSymbol> found;
    Names names;
    std::vector<std::string> pending;  // labels alone on a line: they take the next address
    unsigned address = 0;
    bool sawAddress = false;

    auto define = [&](std::string_view name, LabelKind kind, unsigned value) {
        names[std::string(name)] = value;
        found.push_back({std::string(name), kind, static_cast<std::uint16_t>(value & 0xFFFF)});
    };

    for (const std::string& text : lines) {
        const std::string_view line = text;
        if (Trim(line).empty()) continue;
        const bool hasAddress = IsAddressLine(line);
        if (hasAddress) {
            address = static_cast<unsigned>(*ParseUnsigned<unsigned>(line.substr(0, 4), 16));
            sawAddress = true;
            for (const std::string& name : pending) define(name, LabelKind::Code, address);
            pending.clear();
        } else {
            // Every other line is indented: source alone, or more code bytes.
            if (line.substr(0, 6).find_first_not_of(' ') != std::string_view::npos) return false;
            if (!Trim(line.substr(0, kSourceColumn)).empty()) continue;
        }
        if (line.size() <= kSourceColumn) continue;
        const std::string_view source = Trim(line.substr(kSourceColumn));

        const std::string_view label = LeadingName(source);
        if (!label.empty() && label.size() < source.size() && source[label.size()] == ':') {
            if (hasAddress) define(label, LabelKind::Code, address);
            else pending.emplace_back(label);
            continue;
        }
        const std::string_view directive = source.substr(0, source.find_first_of(" \t"));
        std::string_view name;
        std::string_view expression;
        if (SameIgnoringCase(directive, ".equ") && NameAndExpression(source.substr(directive.size()), name, expression)) {
            if (const auto value = Evaluate(expression, names)) define(name, LabelKind::Number, *value);
        } else if (SameIgnoringCase(directive, ".flag") &&
                   NameAndExpression(source.substr(directive.size()), name, expression)) {
            // "byte.bit": the byte an expression, the bit one digit.
            const std::size_t dot = expression.rfind('.');
            if (dot == std::string_view::npos || dot + 2 != expression.size()) continue;
            const char bit = expression[dot + 1];
            const auto byte = Evaluate(expression.substr(0, dot), names);
            if (!byte || bit < '0' || bit > '7') continue;
            if (const auto value = BitAddress(*byte, static_cast<unsigned>(bit - '0'))) define(name, LabelKind::Bit, *value);
        }
    }
    for (const std::string& name : pending) define(name, LabelKind::Code, address);
    if (!sawAddress || found.empty()) return false;
    out = std::move(found);
    return true;
}

}  // namespace tessaly
