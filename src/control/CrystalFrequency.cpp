#include "control/CrystalFrequency.h"

#include <cctype>
#include <charconv>

#include "control/Settings.h"

namespace tessaly {

bool IsCrystalFrequency(double hertz) { return hertz > 0.0 && hertz < kMaxCrystalFrequency; }

std::optional<double> ParseCrystalFrequency(std::string_view text) {
    if (text.empty()) return std::nullopt;
    double scale = 1.0;
    if (text.back() == 'k' || text.back() == 'K') scale = 1e3;
    else if (text.back() == 'M' || text.back() == 'm') scale = 1e6;
    if (scale != 1.0) text.remove_suffix(1);
    // Digits and a point only: no sign, exponent, "inf" or "nan".
    if (text.empty()) return std::nullopt;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.') return std::nullopt;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    const double hertz = value * scale;
    if (!IsCrystalFrequency(hertz)) return std::nullopt;
    return hertz;
}

}  // namespace tessaly
