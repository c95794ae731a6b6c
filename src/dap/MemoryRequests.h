#pragma once

#include <cstdint>
#include <string>

#include "control/CObject.h"
#include "dap/AdapterContext.h"
#include "dap/Dispatcher.h"

namespace tessaly::dap {

// A memory reference: "code", "data" (direct addresses: RAM below 80H, the
// SFRs above), "idata" (indirect addresses: 80H-FFH are the upper RAM) or
// "xdata", optionally with an address after a colon ("xdata:0x1234").
struct MemoryPlace {
    CMemory memory = CMemory::Code;  // data's upper half is CMemory::Sfr
    bool direct = false;             // "data"
    std::uint32_t size = 0x10000;
    std::uint32_t address = 0;
};
// Nothing for a text that is not a memory reference.
std::optional<MemoryPlace> ParseMemoryReference(const std::string& reference);

// readMemory, writeMemory (base64 bytes, as the protocol carries them) and
// disassemble (the decoder's text with labels, bytes, and the C line of each
// instruction).
class MemoryRequests {
public:
    explicit MemoryRequests(AdapterContext& context) : c_(context) {}
    void Register(Dispatcher& dispatcher);

private:
    void ReadMemory(const Request& request);
    void WriteMemory(const Request& request);
    void Disassemble(const Request& request);

    AdapterContext& c_;
};

}  // namespace tessaly::dap
