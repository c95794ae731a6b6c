#include "control/SettingsEntry.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "control/CrystalFrequency.h"
#include "util/Lines.h"

namespace tessaly {

namespace {

constexpr int kSignificantDigits = 15;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipDigits(std::string_view text, std::size_t at) {
    while (at < text.size() && IsDigit(text[at])) ++at;
    return at;
}

// [+-] digits [. digits] [e [+-] digits], with a digit on at least one side of
// the point; no "inf", "nan" or hexadecimal forms.
bool IsDecimalNumber(std::string_view text) {
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    const std::size_t intStart = at;
    at = SkipDigits(text, at);
    bool digits = at > intStart;
    if (at < text.size() && text[at] == '.') {
        const std::size_t fracStart = ++at;
        at = SkipDigits(text, at);
        digits = digits || at > fracStart;
    }
    if (!digits) return false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
        const std::size_t expStart = at;
        at = SkipDigits(text, at);
        if (at == expStart) return false;
    }
    return at == text.size();
}

bool InCountRange(std::int64_t value) { return value >= 1 && value <= kMaxCount; }

}  // namespace

std::int64_t ConvertDecimalText(std::string_view text) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !std::all_of(text.begin(), text.end(), IsDigit)) return -1;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return -1;
    if (negative) value = -value;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) {
        return -1;
    }
    return value;
}

long double ConvertFloatText(std::string_view text) {
    text = Trim(text);
    if (!IsDecimalNumber(text)) return -1.0L;
    if (text[0] == '+') text.remove_prefix(1);
    long double value = 0;
    // from_chars, unlike strtold, ignores the locale the GUI may have set.
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return -1.0L;
    return value;
}

std::string CrystalFrequencyText(double hertz) {
    const long double mega = static_cast<long double>(hertz) * 0.000001L;
    if (mega == 0 || !std::isfinite(mega)) return mega == 0 ? "0" : std::to_string(static_cast<double>(mega));

    // 15 significant digits, then the shape: fixed while the value has at most
    // 15 whole digits and is at least 0.00001, otherwise d.dddE-x.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*Le", kSignificantDigits - 1, mega);
    std::string_view formatted(buffer);
    const bool negative = formatted.front() == '-';
    if (negative) formatted.remove_prefix(1);
    const std::size_t e = formatted.find('e');
    std::string digits;
    for (char c : formatted.substr(0, e)) {
        if (c != '.') digits += c;
    }
    const int exponent = std::atoi(std::string(formatted.substr(e + 1)).c_str());
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string text = negative ? "-" : "";
    if (exponent >= kSignificantDigits || std::fabs(mega) < 0.00001L) {
        text.append(digits, 0, 1);
        if (digits.size() > 1) text.append(".").append(digits, 1);
        text.append("E").append(std::to_string(exponent));
    } else if (exponent < 0) {
        text.append("0.").append(static_cast<std::size_t>(-exponent - 1), '0').append(digits);
    } else {
        const auto whole = static_cast<std::size_t>(exponent) + 1;
        text.append(digits, 0, whole);
        if (digits.size() <= whole) text.append(whole - digits.size(), '0');
        else text.append(".").append(digits, whole);
    }
    return text;
}

SettingsEntry EntryFromSettings(const SimulationSettings& s) {
    SettingsEntry entry;
    entry.speedPosition = 100 - static_cast<int>(std::min<std::uint32_t>(s.speedDelay, 99));
    entry.instructionsPerTick = std::to_string(s.instructionsPerTick);
    entry.refreshIndex = std::clamp(s.refreshType, 1, 3) - 1;
    entry.crystalFrequency = CrystalFrequencyText(s.crystalFrequency);
    entry.bulkStepCount = std::to_string(s.bulkStepCount);
    entry.stepTimeInUSec = std::to_string(s.stepTimeInUSec);
    entry.autoLoadLabels = s.autoLoadLabels != 0;
    entry.threadPriority = s.threadPriority;
    entry.priorityClass = s.priorityClass;
    return entry;
}

std::variant<SimulationSettings, std::string> CheckSettingsEntry(const SettingsEntry& entry,
                                                                const SimulationSettings& current) {
    const std::int64_t perTick = ConvertDecimalText(entry.instructionsPerTick);
    if (!InCountRange(perTick)) return std::string(kInstructionsPerTickMessage);

    const long double mega = ConvertFloatText(entry.crystalFrequency);
    if (!(mega > 0 && mega < 1000)) return std::string(kCrystalFrequencyMessage);
    // 999.999 must give exactly 999999000 Hz, which takes more than double precision.
    const auto hertz = static_cast<double>(mega * 1000000.0L);
    if (!IsCrystalFrequency(hertz)) return std::string(kCrystalFrequencyMessage);

    const std::int64_t bulk = ConvertDecimalText(entry.bulkStepCount);
    if (!InCountRange(bulk)) return std::string(kBulkStepCountMessage);

    const std::int64_t stepTime = ConvertDecimalText(entry.stepTimeInUSec);
    if (!InCountRange(stepTime)) return std::string(kStepTimeMessage);

    // Track bars and the list cannot leave their ranges; clamping keeps a
    // caller without them from storing a value the loops cannot use.
    SimulationSettings s = current;
    s.speedDelay = static_cast<std::uint32_t>(100 - std::clamp(entry.speedPosition, 1, 100));
    s.threadPriority = std::clamp(entry.threadPriority, 1, 6);
    s.priorityClass = std::clamp(entry.priorityClass, 1, 3);
    s.instructionsPerTick = static_cast<std::uint32_t>(perTick);
    s.refreshType = std::clamp(entry.refreshIndex, 0, 2) + 1;
    s.crystalFrequency = hertz;
    s.bulkStepCount = static_cast<std::int32_t>(bulk);
    s.stepTimeInUSec = static_cast<std::uint32_t>(stepTime);
    s.autoLoadLabels = entry.autoLoadLabels ? 1 : 0;
    return s;
}

bool AcceptSettingsEntry(const SettingsEntry& entry, SettingsStore& settings, MessageHost& host) {
    auto checked = CheckSettingsEntry(entry, settings.Current());
    if (const auto* message = std::get_if<std::string>(&checked)) {
        host.Tell(MessageKind::Plain, *message);
        return false;
    }
    settings.Accept(std::get<SimulationSettings>(checked));
    return true;
}

bool AcceptsCountKey(char key) { return IsDigit(key) || key == kBackspace; }

bool AcceptsFrequencyKey(char key) { return AcceptsCountKey(key) || key == '.'; }

}  // namespace tessaly
