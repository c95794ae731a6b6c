#include "core/SerialStep.h"

#include <cmath>
#include <limits>

#include "core/DataWatch.h"
#include "core/EngineAccess.h"
#include "core/Messages.h"

namespace tessaly {

namespace {

// Rates are truncated toward zero. A rate that truncates to 0 would make the
// frame time a division by zero, so it counts as no valid clock, like any
// value that is not a usable positive 32-bit rate.
std::int32_t ValidRate(double rate) {
    if (!(rate >= 1.0) || rate > static_cast<double>(std::numeric_limits<std::int32_t>::max())) return -1;
    return static_cast<std::int32_t>(rate);
}

std::int32_t FrameTime(int bitsPerFrame, std::int32_t rate) {
    if (rate <= 0) return 0;
    return static_cast<std::int32_t>(static_cast<double>(bitsPerFrame) / rate * 1000000.0);
}

void ComputeRates(Processor& p) {
    const double fosc = p.CrystalFrequency();
    const std::uint8_t scon = p.ReadDirect(sfr::SCON);
    const unsigned mode = (scon >> 6) & 3;
    const double k = (p.ReadDirect(sfr::PCON) & 0x80) ? 2.0 : 1.0;

    if (mode == 0) {
        p.iTxBaudRate = p.iRxBaudRate = ValidRate(std::trunc(fosc / 12.0));
        p.iTxFrameTime = p.iRxFrameTime = FrameTime(8, p.iTxBaudRate);
        return;
    }
    if (mode == 2) {
        p.iTxBaudRate = p.iRxBaudRate = ValidRate(std::trunc(k * fosc / 64.0));
        p.iTxFrameTime = p.iRxFrameTime = FrameTime(11, p.iTxBaudRate);
        return;
    }
    const bool timer1Usable = p.ReadBit(bit::TR1) && ((p.ReadDirect(sfr::TMOD) >> 4) & 3) == 2;
    const bool timer2Usable = p.ReadBit(bit::TR2) != 0;
    const double timer1Rate = k * fosc / (384.0 * (256 - p.ReadDirect(sfr::TH1)));
    const double timer2Rate = fosc / (32.0 * (65536 - p.GetRCAP2()));
    auto sideRate = [&](std::uint8_t clockSelectBit) -> std::int32_t {
        if (p.ReadBit(clockSelectBit)) return timer2Usable ? ValidRate(std::trunc(timer2Rate)) : -1;
        return timer1Usable ? ValidRate(std::trunc(timer1Rate)) : -1;
    };
    const int bitsPerFrame = mode == 1 ? 10 : 11;
    p.iTxBaudRate = sideRate(bit::TCLK);
    p.iRxBaudRate = sideRate(bit::RCLK);
    p.iTxFrameTime = FrameTime(bitsPerFrame, p.iTxBaudRate);
    p.iRxFrameTime = FrameTime(bitsPerFrame, p.iRxBaudRate);
}

void PostInvalidRateWarnings(Processor& p) {
    if (p.iTxBaudRate == -1) PostWarningOnceInARow(p, messages::kTxRateInvalid);
    if (p.iRxBaudRate == -1) PostWarningOnceInARow(p, messages::kRxRateInvalid);
}

void AppendToLog(std::array<std::uint8_t, Processor::kSerialLogSize>& log, std::int32_t& pos, std::int32_t& shown,
                 std::uint8_t value) {
    log[static_cast<std::size_t>(pos)] = value;
    if (++pos >= static_cast<std::int32_t>(Processor::kSerialLogSize)) {
        pos = 0;
        shown = 0;
    }
}

// Keeps the activity mark while an instruction has serial work to do.
void NoteActivity(Processor& p) {
    if ((p.iTxBaudRate | p.iRxBaudRate) < 0 || p.bTxInProgress) NoteChanges(p, sfr_watch::kSerialActivity);
    else ClearChanges(p, sfr_watch::kSerialActivity);
}

void RecomputeRates(Processor& p) {
    ComputeRates(p);
    auto& derived = Derived(p);
    ClearChanges(p, sfr_watch::kBaudRates);
    derived.rateKey = serial_detail::RateKey(p);
    derived.rateCrystal = p.CrystalFrequency();
}

}  // namespace

void UpdateBaudRates(Processor& p) {
    RecomputeRates(p);
    PostInvalidRateWarnings(p);
    NoteActivity(p);
}

namespace serial_detail {

void Step(Processor& p, unsigned cycles) {
    if (Changed(p, sfr_watch::kBaudRates)) {
        ClearChanges(p, sfr_watch::kBaudRates);
        const auto& derived = Derived(p);
        if (derived.rateKey != RateKey(p) || derived.rateCrystal != p.CrystalFrequency()) RecomputeRates(p);
    }
    PostInvalidRateWarnings(p);
    if (p.bTxInProgress) {
        p.iTxCyclesLeft -= static_cast<std::int32_t>(cycles);
        if (p.iTxCyclesLeft <= 0) {
            NoteHardwareBit(p, bit::TI, true);
            p.WriteBit(bit::TI, 1);  // through WriteBit, so the interrupt scan sees TI
            p.bTxInProgress = 0;
        }
    }
    NoteActivity(p);
}

}  // namespace serial_detail

void TransmitByte(Processor& p, std::uint8_t value) {
    p.WriteDirect(sfr::SBUF, value);
    AppendToLog(p.ucTxLog, p.iTxLogPos, p.iTxLogShown, value);
    if (p.iTxBaudRate == -1) {
        PostWarning(p, messages::kTxRateIncorrect);
        return;
    }
    p.bTxInProgress = 1;
    NoteChanges(p, sfr_watch::kSerialActivity);
    const double cycles = static_cast<double>(p.iTxFrameTime) * p.CrystalFrequency() / 12000000.0;
    p.iTxCyclesLeft = cycles < static_cast<double>(std::numeric_limits<std::int32_t>::max())
                          ? static_cast<std::int32_t>(cycles)
                          : std::numeric_limits<std::int32_t>::max();
}

std::uint8_t ReceiveByte(Processor& p) {
    if (p.iRxBaudRate == -1) {
        PostWarningOnceInARow(p, messages::kRxRateIncorrect);
        return 0;
    }
    if (!p.ReadBit(bit::REN)) {
        PostWarningOnceInARow(p, messages::kReceptionDisabled);
        return 0;
    }
    const std::uint8_t value = p.ReadDirect(sfr::SBUF);
    AppendToLog(p.ucRxLog, p.iRxLogPos, p.iRxLogShown, value);
    return value;
}

}  // namespace tessaly
