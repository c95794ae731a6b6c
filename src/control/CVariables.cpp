#include "control/CVariables.h"

#include "control/CValueText.h"

namespace tessaly {

CVariable LocateVariable(const Processor& p, const DebugInfo& info, const CSymbol& symbol, const CFrame& frame) {
    CObject object = LocateSymbol(symbol, frame);
    CVariableText text{symbol.name, symbol.type.Spelling(), FormatCValue(p, info, object)};
    return {std::move(text), std::move(object)};
}

CVariableText DescribeSymbol(const Processor& p, const DebugInfo& info, const CSymbol& symbol, const CFrame& frame) {
    return LocateVariable(p, info, symbol, frame).text;
}

std::vector<CVariable> LocateLocals(const Processor& p, const DebugInfo& info, std::uint16_t pc, const CFrame& frame) {
    std::vector<CVariable> located;
    const CFunction* function = info.FunctionAt(pc);
    if (!function) return located;
    for (const CSymbol* symbol : info.LocalsAt(*function, pc)) located.push_back(LocateVariable(p, info, *symbol, frame));
    return located;
}

std::vector<CVariableText> DescribeLocals(const Processor& p, const DebugInfo& info, std::uint16_t pc,
                                          const CFrame& frame) {
    std::vector<CVariableText> described;
    for (CVariable& variable : LocateLocals(p, info, pc, frame)) described.push_back(std::move(variable.text));
    return described;
}

}  // namespace tessaly
