#include "control/BreakCondition.h"

#include <array>
#include <utility>

#include "control/LocationText.h"
#include "util/IntegerText.h"
#include "util/Lines.h"

namespace tessaly {

namespace {

std::optional<std::int64_t> ParseNumber(std::string_view text) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text = Trim(text.substr(1));
    }
    std::optional<std::uint64_t> value;
    const bool hex = (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) ||
                     (text.size() > 1 && (text.back() == 'H' || text.back() == 'h'));
    if (hex) {
        if (const auto v = ParseHexNumber(text, 0xFFFFFFFFu)) value = *v;
    } else {
        value = ParseUnsigned<std::uint32_t>(text, 10);
    }
    if (!value) return std::nullopt;
    const auto number = static_cast<std::int64_t>(*value);
    return negative ? -number : number;
}

}  // namespace

std::variant<BreakCondition, std::string> ParseBreakCondition(std::string_view typed) {
    const std::string_view text = Trim(typed);
    // Two-character operators first, so "<=" is not read as "<".
    static constexpr std::array<std::pair<std::string_view, CompareOp>, 7> kOperators = {{
        {"==", CompareOp::Equal}, {"!=", CompareOp::NotEqual}, {"<=", CompareOp::LessEqual},
        {">=", CompareOp::GreaterEqual}, {"<", CompareOp::Less}, {">", CompareOp::Greater}, {"&", CompareOp::AnyBitOf},
    }};
    const std::string quoted = "'" + std::string(text) + "'";
    for (const auto& [spelling, op] : kOperators) {
        const std::size_t at = text.find(spelling);
        if (at == std::string_view::npos) continue;
        BreakCondition condition;
        condition.left = std::string(Trim(text.substr(0, at)));
        condition.op = op;
        const auto right = ParseNumber(text.substr(at + spelling.size()));
        if (condition.left.empty()) return quoted + ": the condition names nothing before " + std::string(spelling);
        if (!right) return quoted + ": the value after " + std::string(spelling) + " is not a number";
        condition.right = *right;
        return condition;
    }
    return quoted + ": a condition is LOCATION OP VALUE, OP one of == != < <= > >= &";
}

bool ConditionHolds(const BreakCondition& c, std::int64_t left) {
    switch (c.op) {
    case CompareOp::Equal: return left == c.right;
    case CompareOp::NotEqual: return left != c.right;
    case CompareOp::Less: return left < c.right;
    case CompareOp::LessEqual: return left <= c.right;
    case CompareOp::Greater: return left > c.right;
    case CompareOp::GreaterEqual: return left >= c.right;
    case CompareOp::AnyBitOf: return (left & c.right) != 0;
    }
    return false;
}

std::variant<HitCondition, std::string> ParseHitCondition(std::string_view typed) {
    std::string_view text = Trim(typed);
    HitCondition condition;
    for (const auto& [prefix, kind] : {std::pair<std::string_view, HitCondition::Kind>{">=", HitCondition::Kind::AtLeast},
                                       {"==", HitCondition::Kind::Equal},
                                       {">", HitCondition::Kind::Greater},
                                       {"%", HitCondition::Kind::Every}}) {
        if (text.substr(0, prefix.size()) == prefix) {
            condition.kind = kind;
            text = Trim(text.substr(prefix.size()));
            break;
        }
    }
    const auto count = ParseUnsigned<std::uint64_t>(text, 10);
    if (!count || (*count == 0 && condition.kind != HitCondition::Kind::Greater)) {
        return "'" + std::string(Trim(typed)) + "': a hit count is N, ==N, >=N, >N or %N with N a whole number above 0";
    }
    condition.count = *count;
    return condition;
}

bool HitStops(const HitCondition& c, std::uint64_t hits) {
    switch (c.kind) {
    case HitCondition::Kind::Equal: return hits == c.count;
    case HitCondition::Kind::AtLeast: return hits >= c.count;
    case HitCondition::Kind::Greater: return hits > c.count;
    case HitCondition::Kind::Every: return hits % c.count == 0;
    }
    return true;
}

std::variant<BreakPointConditions::Entry, std::string> ParseBreakPointExtras(std::string_view condition,
                                                                            std::string_view hits) {
    BreakPointConditions::Entry entry;
    if (!Trim(condition).empty()) {
        auto parsed = ParseBreakCondition(condition);
        if (auto* why = std::get_if<std::string>(&parsed)) return std::move(*why);
        entry.condition = std::get<BreakCondition>(parsed);
    }
    if (!Trim(hits).empty()) {
        auto parsed = ParseHitCondition(hits);
        if (auto* why = std::get_if<std::string>(&parsed)) return std::move(*why);
        entry.hits = std::get<HitCondition>(parsed);
    }
    return entry;
}

const BreakPointConditions::Entry* BreakPointConditions::Find(std::uint16_t address) const {
    const auto found = entries_.find(address);
    return found == entries_.end() ? nullptr : &found->second;
}

void BreakPointConditions::ResetHitCounts() {
    for (auto& [address, entry] : entries_) entry.hitCount = 0;
}

bool BreakPointConditions::ConditionHolds(std::uint16_t address, const Evaluator& evaluate, std::string* why) const {
    const Entry* entry = Find(address);
    if (!entry || !entry->condition) return true;
    const auto value =
        evaluate ? evaluate(entry->condition->left) : std::variant<std::int64_t, std::string>(std::string("no value"));
    if (const std::string* message = std::get_if<std::string>(&value)) {
        if (why) *why = *message;
        return true;
    }
    return tessaly::ConditionHolds(*entry->condition, std::get<std::int64_t>(value));
}

bool BreakPointConditions::Stops(std::uint16_t address, const Evaluator& evaluate, std::string* why) {
    const auto found = entries_.find(address);
    if (found == entries_.end()) return true;
    // A condition that cannot be read stops, its hit count left alone.
    std::string unread;
    if (!ConditionHolds(address, evaluate, &unread)) return false;
    if (!unread.empty()) {
        if (why) *why = std::move(unread);
        return true;
    }
    Entry& entry = found->second;
    ++entry.hitCount;
    return !entry.hits || HitStops(*entry.hits, entry.hitCount);
}

}  // namespace tessaly
