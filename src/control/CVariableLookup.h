#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "analysis/DebugInfo.h"

namespace tessaly {

// A C identifier: a letter or '_', then letters, digits and '_'.
bool IsCName(std::string_view name);

// A C variable by the name a watch gives it, as C sees the name from the
// code at `pc`: a local or parameter of the function there that is in scope
// at pc, else a global, else a file static of that function's module (of any
// module when pc is in no function). The symbol, or the message saying why
// there is none: "'1x' is not a C name", "No C variable named 'x' here".
std::variant<const CSymbol*, std::string> LookUpCVariable(const DebugInfo& info, std::string_view name,
                                                         std::uint16_t pc);

}  // namespace tessaly
