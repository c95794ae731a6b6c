// Feeds arbitrary bytes to the Intel HEX reader as a file's contents and
// checks what must hold whatever the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "loading/HexReader.h"

namespace {

class CountingHost : public tessaly::MessageHost {
public:
    void Tell(tessaly::MessageKind, const std::string& text) override {
        if (text.empty()) std::abort();
        ++messages;
    }
    bool AskYesNo(tessaly::MessageKind, const std::string&) override { std::abort(); }
    std::size_t messages = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto code = std::make_unique<tessaly::CodeImage>();
    code->fill(0xA5);
    std::uint16_t highest = 0x1234;
    CountingHost host;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    using tessaly::HexLoad;
    const HexLoad status = tessaly::LoadHexText(text, *code, highest, host);

    // Text in memory is never missing or unreadable.
    if (status == HexLoad::FileMissing || status == HexLoad::Unreadable) std::abort();
    // Only the first 64K are the reader's.
    for (std::size_t a = 0x10000; a < code->size(); ++a) {
        if ((*code)[a] != 0xA5) std::abort();
    }
    if (status == HexLoad::Ok) {
        // Nothing stored above the highest address it reports.
        for (std::size_t a = std::size_t{highest} + 1; a < 0x10000; ++a) {
            if ((*code)[a] != 0) std::abort();
        }
    } else {
        if (highest != 0x1234) std::abort();
        if (status != HexLoad::NoLines && host.messages == 0) std::abort();
    }
    return 0;
}
