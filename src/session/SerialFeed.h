#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string_view>

#include "session/Session.h"

namespace tessaly {

// Bytes waiting to reach the program through its serial receiver, as a
// terminal or a script types them. A byte arrives as on the chip: in SBUF
// with RI set, once reception is enabled (REN), the receive rate is valid,
// the program has taken the last byte (RI clear) and a whole frame time has
// passed since that one arrived. Delivered through the session's edit path.
// When the machine goes back in time to before a byte arrived, the byte is
// waiting again, so going forward again feeds the program the same input.
class SerialFeed {
public:
    void Add(std::string_view bytes);
    bool Empty() const { return pending_.empty(); }
    std::size_t Pending() const { return pending_.size(); }

    // Delivers the next byte when the receiver can take it; true when one
    // arrived.
    bool Deliver(Session& session);

    // Puts back the bytes that arrived after where the machine is now, when
    // it went back in time (Deliver does this first).
    void FollowGoingBack(const Processor& p);

private:
    struct Arrival {
        std::uint64_t instructions;
        std::uint64_t cycles;
        std::uint8_t byte;
    };
    std::deque<std::uint8_t> pending_;
    // The bytes delivered, in order, with when they arrived.
    std::deque<Arrival> arrived_;
};

}  // namespace tessaly
