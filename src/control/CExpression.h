#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "analysis/DebugInfo.h"
#include "control/CFrame.h"
#include "control/CObject.h"
#include "core/Processor.h"

namespace tessaly {

// Where a C expression is evaluated: the activation whose locals it sees
// (the function holding `pc`, its variables placed in `frame`) and the
// program's globals and file statics.
struct CScope {
    const DebugInfo* info = nullptr;
    std::uint16_t pc = 0;
    CFrame frame;
};

// The object a C expression of one variable names, as a debugger's watch
// takes it: the variable (a local or parameter in scope at the scope's pc
// first, else a global or a static of the function's file), then any chain
// of array elements [N], members .name, members through a pointer ->name and
// dereferences *, with parentheses for grouping: buffer[3], p->next,
// *(table[2].ptr). An index is a decimal or 0x number; an index into a
// pointer reaches past the object it points to as C does. A message that
// says what is wrong otherwise ("No variable named 'x'", "'n' is not a
// struct or union").
std::variant<CObject, std::string> EvaluateCExpression(const Processor& p, const CScope& scope,
                                                       std::string_view expression);

// What is wrong with the form of `expression`, with the message
// EvaluateCExpression gives for it ("Missing ']' in 'list[2'", "'1x' is not
// a C name"), looking up nothing: empty for text it reads, whether or not
// its names and members exist where it is evaluated.
std::string CExpressionFormError(std::string_view expression);

// The object a pointer object points to, in the memory its space (or, for a
// generic pointer, its tag byte) names; pdata pointers in the frame's page.
// A message for a null pointer, a void or function pointer, and an object
// that is not a pointer.
std::variant<CObject, std::string> DereferenceCPointer(const Processor& p, const CObject& pointer,
                                                      const CFrame& frame);

}  // namespace tessaly
