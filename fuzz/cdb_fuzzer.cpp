// Arbitrary bytes as SDCC's debug file (.cdb), read into C debug information;
// whatever loads is then looked up, spelled, placed, shown and written.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <variant>

#include "FuzzCheck.h"
#include "analysis/CdbReader.h"
#include "control/CObject.h"
#include "control/CValueText.h"
#include "control/CValueWrite.h"
#include "util/Lines.h"

using tessaly::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly;
    static const auto processor = std::make_unique<Processor>();
    static Workspace workspace;
    const auto read = ReadCdb(SplitLines(std::string_view(reinterpret_cast<const char*>(data), size)));
    if (const auto* message = std::get_if<std::string>(&read)) {
        Check(message->rfind("line ", 0) == 0);
        return 0;
    }
    const DebugInfo& info = std::get<DebugInfo>(read);
    for (const CFunction& function : info.Functions()) {
        (void)function.type.Spelling();
        if (!function.start) continue;
        Check(info.BodyStart(function).has_value());
        (void)info.LocalsAt(function, *function.start);
        if (function.Contains(*function.start)) Check(info.PositionAt(*function.start).function != nullptr);
    }
    for (const std::string& file : info.Lines().Files()) {
        const auto breakPoint = info.Lines().BreakPointAt(file, 0);
        Check(breakPoint.has_value());
        Check(!info.Lines().AddressesOf(file, breakPoint->line).empty());
    }
    CFrame frame;
    frame.registerBank = 1;
    frame.stackFrame = 0x80;
    frame.externalStackFrame = 0x10;
    for (const CSymbol& symbol : info.Symbols()) {
        (void)symbol.type.Spelling();
        const CObject object = LocateSymbol(symbol, frame);
        Check(object.Available() == object.unavailable.empty());
        Check(!FormatCValue(*processor, info, object).empty());
        for (const CChild& child : ChildrenOf(info, object, 4)) {
            (void)WriteCValue(*processor, workspace, child.object, "1");
        }
        (void)WriteCValue(*processor, workspace, object, "-1");
    }
    return 0;
}
