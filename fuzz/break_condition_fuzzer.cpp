// Arbitrary text as a data break point's target, a break point's condition
// and its hit count, as a script, an editor or a dialog gives them: each is
// read or refused with a message, and what is read names bytes that exist.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <variant>

#include "FuzzCheck.h"
#include "control/BreakCondition.h"
#include "control/DataBreakPoints.h"
#include "support/CdbSamples.h"

using tessaly::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly;
    static const DebugInfo info = test::ReadCdbText(test::kTypesCdb);
    static const auto processor = std::make_unique<Processor>();
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    CFrame frame;
    frame.stackFrame = 0x60;
    const CScope scope{&info, 0x0109, frame};
    for (const CScope* where : {&scope, static_cast<const CScope*>(nullptr)}) {
        const auto target = ResolveWatchTarget(*processor, text, where);
        if (const auto* why = std::get_if<std::string>(&target)) {
            Check(!why->empty());
            continue;
        }
        const WatchTarget& watched = std::get<WatchTarget>(target);
        Check(!watched.bytes.empty());
        for (const WatchPlace& place : watched.bytes) {
            Check(place.mask != 0);
            Check(place.space != WatchSpace::Internal || place.address < 0x180);
        }
        WatchValue(*processor, watched);
        Check(!WatchValueText(*processor, watched).empty());
        // Setting it as a data break point builds a watch the engine can run with.
        DataBreakPoints points;
        points.Add({watched, DataAccess::Change});
        points.Apply(*processor);
        processor->SetDataWatch(nullptr);
    }

    const auto condition = ParseBreakCondition(text);
    if (const auto* parsed = std::get_if<BreakCondition>(&condition)) Check(!parsed->left.empty());
    else Check(!std::get<std::string>(condition).empty());
    const auto hits = ParseHitCondition(text);
    if (const auto* parsed = std::get_if<HitCondition>(&hits)) {
        Check(parsed->count != 0 || parsed->kind == HitCondition::Kind::Greater);
        HitStops(*parsed, 12);
    } else {
        Check(!std::get<std::string>(hits).empty());
    }
    return 0;
}
