#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "control/CFrame.h"
#include "control/CObject.h"
#include "control/Location.h"

namespace tessaly::dap {

// What a variablesReference stands for: a scope, or a value with parts.
struct Container {
    enum class Kind {
        Locals,         // the C locals of a frame
        Globals,        // the C globals and file statics
        Registers,      // ACC, B, PSW, SP, DPTR, R0-R7, PC
        Sfrs,           // every register of the SFR catalogue
        RegisterBits,   // the eight bits of `location`, a byte register
        Interrupts,     // the interrupts in progress
        CChildren,      // the elements or members of `object`
        PointerTarget,  // what `object`, a pointer, points to
    };
    Kind kind = Kind::Locals;
    std::int64_t frameId = 1;
    CFrame frame;
    Location location;
    CObject object;
    std::string evaluateName;
};

// The references handed out since the program last stopped; they lapse when
// it runs again, as the protocol has it.
class VariableHandles {
public:
    int Add(Container container) {
        containers_.push_back(std::move(container));
        return static_cast<int>(containers_.size());
    }
    // Nothing for a reference not handed out since the last Clear.
    const Container* Find(std::int64_t reference) const {
        if (reference < 1 || reference > static_cast<std::int64_t>(containers_.size())) return nullptr;
        return &containers_[static_cast<std::size_t>(reference - 1)];
    }
    void Clear() { containers_.clear(); }

private:
    std::vector<Container> containers_;
};

}  // namespace tessaly::dap
