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
class SerialFeed {
public:
    void Add(std::string_view bytes);
    bool Empty() const { return pending_.empty(); }
    std::size_t Pending() const { return pending_.size(); }

    // Delivers the next byte when the receiver can take it; true when one
    // arrived.
    bool Deliver(Session& session);

private:
    std::deque<std::uint8_t> pending_;
    // The cycle count at which the last byte arrived; none yet.
    std::uint64_t lastArrival_ = 0;
    bool arrived_ = false;
};

}  // namespace tessaly
