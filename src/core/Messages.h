#pragma once

#include <string_view>

namespace tessaly::messages {

// Texts the simulated program's problems leave in lstErrors and lstWarnings.
// They are shown to users exactly as written here, spelling included.
inline constexpr std::string_view kReservedOpcode = "Reserved Opcode encountered";
inline constexpr std::string_view kRetiWithoutInterrupt = "RETI encountered without an interrupt was in progress";
inline constexpr std::string_view kInvalidRelativeJumpStatus = "Invalid S1B ucExecutionStatus( ";
inline constexpr std::string_view kInvalidJumpStatus = "Invalid jmp ucExecutionStatus( ";
inline constexpr std::string_view kInvalidCallStatus = "Invalid call ucExecutionStatus( ";
inline constexpr std::string_view kTxRateInvalid = "Tramission baud rate is invalid";
inline constexpr std::string_view kRxRateInvalid = "Receiption baud rate is invalid";
inline constexpr std::string_view kTxRateIncorrect = "Transmission Baud rate is incorrect";
inline constexpr std::string_view kRxRateIncorrect = "Receiption Baud rate is incorrect";
inline constexpr std::string_view kReceptionDisabled = "Receiption is disabled";

}  // namespace tessaly::messages
