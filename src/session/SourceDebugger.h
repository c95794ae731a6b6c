#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "analysis/DebugInfo.h"
#include "core/AddressSet.h"
#include "control/CCallStack.h"
#include "control/SourceStep.h"
#include "core/MessageHost.h"
#include "core/Processor.h"

namespace tessaly {

// The C debug information of the loaded program (SDCC's .cdb) and what the
// front ends ask of it: where the PC is in the source, the call stack, the
// steps' goals and the places break points name.
class SourceDebugger {
public:
    // Reads a .cdb. On a file that cannot be read or a damaged record it
    // shows "Cannot load C debug information from NAME: WHY" and keeps what
    // was loaded before.
    bool Load(const std::filesystem::path& cdb, MessageHost& messages);
    void Clear();

    // Nothing while no .cdb is loaded.
    const DebugInfo* Info() const { return info_.get(); }
    // The .cdb loaded; its program's C files are looked for beside it.
    const std::filesystem::path& File() const { return file_; }
    // The C file a line record names, as it is on disk beside the .cdb (SDCC
    // writes '-' and spaces in names as '_'); the recorded name in that
    // folder when no file there matches.
    std::filesystem::path SourcePath(const std::string& recorded) const;
    // Every address where a C line starts.
    const AddressSet& LineStarts() const { return lineStarts_; }

    CSourcePosition PositionAt(std::uint16_t pc) const { return info_ ? info_->PositionAt(pc) : CSourcePosition{}; }
    std::vector<CStackFrame> CallStack(const Processor& p) const;
    // Where SDCC's frame pointer _bp lives, from the linker map beside the
    // .cdb; nothing without one.
    std::optional<std::uint8_t> FramePointer() const { return framePointer_; }
    // A C-level step from where the processor stands; nothing without
    // debug information or where the PC has no C line.
    std::optional<SourceStep> Begin(SourceStep::Kind kind, const Processor& p) const;

    // A break point's place as typed: "file.c:LINE" (a line with no code
    // moves to the next line that has some) or a function's name (stopping
    // after its prologue). The address, or the message saying why there is
    // none.
    std::variant<std::uint16_t, std::string> Resolve(std::string_view place) const;

private:
    std::unique_ptr<DebugInfo> info_;
    std::filesystem::path file_;
    AddressSet lineStarts_;
    std::optional<std::uint8_t> framePointer_;
    mutable std::map<std::string, std::filesystem::path> sourcePaths_;
};

}  // namespace tessaly
