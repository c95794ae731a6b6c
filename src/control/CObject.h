#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/CSymbol.h"
#include "analysis/CType.h"
#include "analysis/DebugInfo.h"
#include "analysis/Workspace.h"
#include "control/CFrame.h"
#include "core/Processor.h"

namespace tessaly {

// The memories a C object can occupy, as the location layer reaches them.
enum class CMemory : std::uint8_t {
    InternalRAM,  // data, idata and the internal stack: addresses wrap at FFh, 80h-FFh are the upper RAM
    Sfr,          // direct addresses 80h-FFh; a 16-bit SFR's second byte at the address's high byte
    ExternalRAM,  // xdata, pdata and the external stack
    Code,         // read-only
    BitMemory,    // bit addresses: __bit variables and SFR bits
    Registers,    // one direct address per byte, least significant first
    None          // no value: see CObject::unavailable
};

// A typed object in the simulated machine: a variable, or an element or
// member of one.
struct CObject {
    CType type;
    CMemory memory = CMemory::None;
    std::uint16_t address = 0;           // the first byte, or the bit address
    std::vector<std::uint8_t> registers;  // Registers: the direct address of each byte
    std::string unavailable;             // why there is no value; empty when there is one

    bool Available() const { return memory != CMemory::None; }
};

// Where a symbol's value is in `frame`: register variables in the frame's
// bank (r0-r7; a, b, dpl and dph as SFRs), stack variables from the frame
// base, the rest at the address the linker gave. An object with no memory and
// a reason when it cannot be placed: no address record, no frame base for a
// stack variable, a register variable SDCC keeps nowhere.
CObject LocateSymbol(const CSymbol& symbol, const CFrame& frame);

// An element or member of an aggregate, with the name a view shows for it.
struct CChild {
    std::string name;  // "[2]" or "x"
    CObject object;
};

// The elements of an array and the members of a struct or union (nothing for
// any other object, or for a struct whose layout the file does not give);
// the first `limit` of them.
std::vector<CChild> ChildrenOf(const DebugInfo& info, const CObject& object, std::size_t limit = 0x10000);
// Whether ChildrenOf lists anything for `object`: what a debugger offers to
// open up.
bool HasChildren(const DebugInfo& info, const CObject& object);
// The C expression that names `child` of the object `parent` names, as
// EvaluateCExpression reads it: "list[2]", "box.corners", and "(*p).next"
// where the parent is more than a chain of names, elements and members.
std::string ChildExpression(std::string_view parent, const CChild& child);

// One byte of an object's value (least significant first for numbers) and
// its storing through the location layer, so the engine's caches stay exact.
// Bit objects hold their bit in byte 0. Writing code memory does nothing and
// returns false, as does reaching past a register list.
std::uint8_t ReadObjectByte(const Processor& p, const CObject& object, std::size_t index);
bool WriteObjectByte(Processor& p, Workspace& w, const CObject& object, std::size_t index, std::uint8_t value);

}  // namespace tessaly
