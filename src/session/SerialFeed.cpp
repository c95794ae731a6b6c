#include "session/SerialFeed.h"

#include "control/Location.h"
#include "core/Sfr.h"

namespace tessaly {

void SerialFeed::Add(std::string_view bytes) {
    for (char c : bytes) pending_.push_back(static_cast<std::uint8_t>(c));
}

bool SerialFeed::Deliver(Session& session) {
    const Processor& p = session.processor();
    if (pending_.empty() || p.iRxBaudRate == -1 || !p.ReadBit(bit::REN) || p.ReadBit(bit::RI)) return false;
    const double frameCycles = static_cast<double>(p.iRxFrameTime) * p.CrystalFrequency() / 12000000.0;
    if (arrived_ && static_cast<double>(p.ullCyclesExecuted - lastArrival_) < frameCycles) return false;
    static const auto sbuf = CatalogueIndex(LocationKind::SfrRegister, "SBUF");
    static const auto ri = CatalogueIndex(LocationKind::SfrBit, "RI");
    session.WriteValue({LocationKind::SfrRegister, *sbuf}, pending_.front());
    session.WriteValue({LocationKind::SfrBit, *ri}, 1);
    pending_.pop_front();
    lastArrival_ = p.ullCyclesExecuted;
    arrived_ = true;
    return true;
}

}  // namespace tessaly
