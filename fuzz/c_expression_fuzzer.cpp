// Arbitrary text as a debugger's expression: a C expression of one variable
// over a program with arrays, structs and pointers of every space, and a
// location name as General Read takes it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <variant>

#include "FuzzCheck.h"
#include "control/CExpression.h"
#include "control/CValueText.h"
#include "control/LocationText.h"
#include "support/CdbSamples.h"

using tessaly::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly;
    static const DebugInfo info = test::ReadCdbText(test::kTypesCdb);
    static const auto processor = [] {
        auto p = std::make_unique<Processor>();
        // Pointers that lead somewhere: head.next points at head itself.
        p->ucIntRAM[0x40] = 0x40;
        p->ucIntRAM[0x42] = 0x40;
        p->ucIntRAM[0x44] = 0x05;
        return p;
    }();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (std::uint16_t pc : {std::uint16_t{0x0109}, std::uint16_t{0x00D3}}) {
        CFrame frame;
        frame.stackFrame = 0x60;
        const auto result = EvaluateCExpression(*processor, CScope{&info, pc, frame}, text);
        if (const auto* object = std::get_if<CObject>(&result)) {
            Check(!FormatCValue(*processor, info, *object).empty());
        } else {
            Check(!std::get<std::string>(result).empty());
        }
    }
    const auto location = ParseLocationText(text);
    if (const auto* at = std::get_if<Location>(&location)) Check(LocationWidth(*processor, *at) != 0);
    else Check(!std::get<std::string>(location).empty());
    return 0;
}
