#include "session/SerialFeed.h"

#include "control/Location.h"
#include "core/Sfr.h"

namespace tessaly {

void SerialFeed::Add(std::string_view bytes) {
    for (char c : bytes) pending_.push_back(static_cast<std::uint8_t>(c));
}

void SerialFeed::FollowGoingBack(const Processor& p) {
    while (!arrived_.empty() && arrived_.back().instructions > p.ullInstructionsExecuted) {
        pending_.push_front(arrived_.back().byte);
        arrived_.pop_back();
    }
}

bool SerialFeed::Deliver(Session& session) {
    const Processor& p = session.processor();
    FollowGoingBack(p);
    if (pending_.empty() || p.iRxBaudRate == -1 || !p.ReadBit(bit::REN) || p.ReadBit(bit::RI)) return false;
    const double frameCycles = static_cast<double>(p.iRxFrameTime) * p.CrystalFrequency() / 12000000.0;
    if (!arrived_.empty() && static_cast<double>(p.ullCyclesExecuted - arrived_.back().cycles) < frameCycles) {
        return false;
    }
    static const auto sbuf = CatalogueIndex(LocationKind::SfrRegister, "SBUF");
    static const auto ri = CatalogueIndex(LocationKind::SfrBit, "RI");
    session.WriteValue({LocationKind::SfrRegister, *sbuf}, pending_.front());
    session.WriteValue({LocationKind::SfrBit, *ri}, 1);
    arrived_.push_back({p.ullInstructionsExecuted, p.ullCyclesExecuted, pending_.front()});
    pending_.pop_front();
    return true;
}

}  // namespace tessaly
