#pragma once

#include <optional>
#include <string_view>

namespace tessaly {

// A crystal the simulation can run at: above 0 Hz and below 1 GHz. Below
// that nothing times; at 1 GHz the settings record no longer holds it.
bool IsCrystalFrequency(double hertz);

// Hz as the command line and editors write it: a decimal number with an
// optional k or M suffix ("11.0592M", "32.768k", "12000000"). Nothing when
// the text is no such number or the frequency is out of range.
std::optional<double> ParseCrystalFrequency(std::string_view text);

}  // namespace tessaly
