#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly::dap {

// The standard alphabet with '=' padding, as memory requests carry bytes.
std::string EncodeBase64(const std::vector<std::uint8_t>& bytes);
// Nothing for a text that is not base64 (a stray character, bad padding).
// Blanks and line breaks are skipped; missing padding is accepted.
std::optional<std::vector<std::uint8_t>> DecodeBase64(std::string_view text);

}  // namespace tessaly::dap
