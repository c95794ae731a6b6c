#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/Processor.h"

namespace tessaly {

// The two records of the serial port that the terminal shows: every byte
// transmitted (ucTxLog, iTxLogPos) and every byte received (ucRxLog,
// iRxLogPos), each with the terminal's display cursor (iTxLogShown,
// iRxLogShown), the number of its bytes already in the terminal's pane.
enum class SerialLogSide : std::uint8_t { Transmit, Receive };

// The bytes the record holds now, from its first.
std::span<const std::uint8_t> RecordedBytes(const Processor& p, SerialLogSide side);

// The bytes of the record past its display cursor, which then counts them as
// shown. Nothing while the cursor is at or past the record's count.
std::span<const std::uint8_t> TakeUnshownBytes(Processor& p, SerialLogSide side);

// A reader's own place in the transmit record, for front ends that pass the
// program's output on as it comes (the runner's serial output, the debug
// adapter's output events). Unlike the terminal's display cursor it is not
// part of the machine, and it follows the record when the record fills up
// and starts over, and when the machine goes back in time (the bytes sent
// again after that are new).
class SerialTail {
public:
    // Starts at what the record holds now.
    explicit SerialTail(const Processor& p) : taken_(p.iTxLogPos), instructions_(p.ullInstructionsExecuted) {}
    // The bytes transmitted since the last call, in order.
    std::string Take(const Processor& p);

private:
    std::int32_t taken_;
    std::uint64_t instructions_;
};

// A newly opened terminal shows each record again from its first byte.
void ForgetShownSerialBytes(Processor& p);

// Empties one record: its bytes zeroed, its count and display cursor 0. SBUF,
// TI, RI and a transmission in progress are left alone.
void ClearSerialLog(Processor& p, SerialLogSide side);

// Each byte as two upper-case hexadecimal digits and a blank ("41 42 ").
std::string SerialBytesAsHex(std::span<const std::uint8_t> bytes);

// The bytes as text: printable ASCII as itself; CR, LF and the pair CR LF
// each one line break ('\n'); every other byte '.'. `afterCarriageReturn`
// carries whether the last byte converted was a CR from one call to the
// next, so a CR LF split between two refreshes still makes one break.
std::string SerialBytesAsText(std::span<const std::uint8_t> bytes, bool& afterCarriageReturn);

}  // namespace tessaly
