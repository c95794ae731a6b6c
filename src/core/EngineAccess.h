#pragma once

#include <cstdint>
#include <string_view>

#include "core/Processor.h"

// The engine's way into the Processor's derived state: the instruction steps,
// timers, interrupts and serial port include this, nothing outside core does.
// Everyone else changes inputs through WriteDirect, WriteBit and
// SetCrystalFrequency, or calls InvalidateDerivedState after raw writes.
namespace tessaly {

struct EngineAccess {
    static auto& Derived(Processor& p) { return p.derived_; }
};

inline auto& Derived(Processor& p) { return EngineAccess::Derived(p); }

inline void NoteChanges(Processor& p, std::uint8_t results) { Derived(p).changes |= results; }
inline void ClearChanges(Processor& p, std::uint8_t results) {
    Derived(p).changes &= static_cast<std::uint8_t>(~results);
}
inline bool Changed(Processor& p, std::uint8_t results) { return (Derived(p).changes & results) != 0; }

// An instruction is about to write the direct byte at `address` in place.
inline void NoteDirectWrite(Processor& p, std::uint8_t address) {
    NoteChanges(p, sfr_watch::kWatchers.byte[address]);
}

// Adds request bits to ucInterruptFlags, noting a change for the selection
// and that requests are pending.
inline void RequestInterrupts(Processor& p, std::uint8_t requests) {
    if ((p.ucInterruptFlags | requests) == p.ucInterruptFlags) return;
    p.ucInterruptFlags |= requests;
    NoteChanges(p, sfr_watch::kSelection | sfr_watch::kPendingRequests);
}

// The engine's warnings and errors, each noting that the message lists'
// limits are due after the instruction.
inline void PostWarning(Processor& p, std::string_view text) {
    p.lstWarnings.Append(text);
    NoteChanges(p, sfr_watch::kMessages);
}
// Adds `text` unless it is the last warning already.
inline void PostWarningOnceInARow(Processor& p, std::string_view text) {
    p.lstWarnings.AppendOnceInARow(text);
    NoteChanges(p, sfr_watch::kMessages);
}
inline void PostError(Processor& p, std::string_view text) {
    p.lstErrors.Append(text);
    NoteChanges(p, sfr_watch::kMessages);
}

}  // namespace tessaly
