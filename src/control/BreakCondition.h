#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace tessaly {

enum class CompareOp : std::uint8_t { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual, AnyBitOf };

// "LOC OP VALUE": a location or C expression, one of == != < <= > >= &, and
// a number (decimal, 0x hex or hex with H, a minus sign allowed). With &, the
// condition holds when any bit of VALUE is set in LOC.
struct BreakCondition {
    std::string left;
    CompareOp op = CompareOp::Equal;
    std::int64_t right = 0;
};

std::variant<BreakCondition, std::string> ParseBreakCondition(std::string_view text);
bool ConditionHolds(const BreakCondition& condition, std::int64_t left);

// When a break point with a hit count stops: on the Nth hit ("N" or "==N"),
// from the Nth on (">=N"), after the Nth (">N"), on every Nth ("%N").
struct HitCondition {
    enum class Kind : std::uint8_t { Equal, AtLeast, Greater, Every };
    Kind kind = Kind::Equal;
    std::uint64_t count = 1;
};

std::variant<HitCondition, std::string> ParseHitCondition(std::string_view text);
bool HitStops(const HitCondition& condition, std::uint64_t hits);

// The conditions and hit counts of code break points, kept beside the break
// point list (which stays as it is, addresses only). A break point without
// an entry always stops.
class BreakPointConditions {
public:
    // Reads the value a condition's left side names now; a message when it
    // names nothing.
    using Evaluator = std::function<std::variant<std::int64_t, std::string>(std::string_view)>;

    struct Entry {
        std::optional<BreakCondition> condition;
        std::optional<HitCondition> hits;
        std::uint64_t hitCount = 0;
    };

    void Set(std::uint16_t address, Entry entry) { entries_[address] = std::move(entry); }
    void Remove(std::uint16_t address) { entries_.erase(address); }
    void Clear() { entries_.clear(); }
    const Entry* Find(std::uint16_t address) const;
    void ResetHitCounts();

    // Whether the break point reached at `address` stops the run: its
    // condition holds (a condition that cannot be read stops, with the
    // message in `why`), and then its hit count, counted here, says so.
    bool Stops(std::uint16_t address, const Evaluator& evaluate, std::string* why = nullptr);
    // Whether the condition of the break point at `address` holds (or it has
    // none, or it cannot be read), leaving the hit count alone: what a
    // search of the past asks.
    bool ConditionHolds(std::uint16_t address, const Evaluator& evaluate, std::string* why = nullptr) const;

private:
    std::map<std::uint16_t, Entry> entries_;
};

// A break point's condition and hit condition as a script or an editor
// gives them (either may be empty), read into an entry; the first message
// when either cannot be read.
std::variant<BreakPointConditions::Entry, std::string> ParseBreakPointExtras(std::string_view condition,
                                                                            std::string_view hits);

}  // namespace tessaly
