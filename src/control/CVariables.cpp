#include "control/CVariables.h"

#include "control/CObject.h"
#include "control/CValueText.h"

namespace tessaly {

CVariableText DescribeSymbol(const Processor& p, const DebugInfo& info, const CSymbol& symbol, const CFrame& frame) {
    return {symbol.name, symbol.type.Spelling(), FormatCValue(p, info, LocateSymbol(symbol, frame))};
}

std::vector<CVariableText> DescribeLocals(const Processor& p, const DebugInfo& info, std::uint16_t pc,
                                          const CFrame& frame) {
    std::vector<CVariableText> described;
    const CFunction* function = info.FunctionAt(pc);
    if (!function) return described;
    for (const CSymbol* symbol : info.LocalsAt(*function, pc)) described.push_back(DescribeSymbol(p, info, *symbol, frame));
    return described;
}

}  // namespace tessaly
