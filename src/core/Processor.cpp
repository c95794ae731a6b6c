#include "core/Processor.h"

#include <algorithm>

#include "core/InstructionStep.h"
#include "core/SerialPort.h"
#include "core/SfrCatalogue.h"

namespace tessaly {

Processor::Processor() {
    ChooseSteps();
    FullReset();
}

void Processor::ResetExecutionState() {
    usPC = 0;
    ucInstructionCycles = ucInstructionLength = 0;
    ucOpcode = ucOperand1 = ucOperand2 = 0;
    ucExecutionStatus = 0;
    ullInstructionsExecuted = ullCyclesExecuted = ullBytesExecuted = 0;
    iProgramSize = 0;
    bSkipBreakPointOnce = 0;
    strOpcodeBytes.clear();
    strInstruction = std::string_view{};
    lstExecutedInstructions.Clear();
    calls.Clear();
    bExtRAMWritten = 0;
    iExtRAMWriteAddress = 0;
    ucInterruptFlags = 0;
    iInterruptToService = -1;
    lstInterruptsInProgress.Clear();
    lstErrors.Clear();
    lstWarnings.Clear();
    iTxBaudRate = iRxBaudRate = -1;
    InvalidateDerivedState();
    iTxFrameTime = iRxFrameTime = 0;
    bTxInProgress = 0;
    iTxCyclesLeft = 0;
    ucTxLog.fill(0);
    ucRxLog.fill(0);
    iTxLogPos = iRxLogPos = iTxLogShown = iRxLogShown = 0;
}

void Processor::InitializeIntRAM(std::uint8_t value) {
    std::fill(ucIntRAM.begin(), ucIntRAM.begin() + 0x80, value);
    std::fill(ucIntRAM.begin() + kUpperRAMOffset, ucIntRAM.begin() + kUpperRAMOffset + 0x80, value);
}

void Processor::LoadPowerOnResetValues() {
    for (const auto& reg : kSfrDefinitions) WriteDirect(reg.address, reg.powerOnValue);
    usPC = 0;
}

void Processor::InitializeExtRAM(std::uint8_t value) { std::fill(ucExtRAM.begin(), ucExtRAM.begin() + 0x10000, value); }

void Processor::InitializeBitMemory(std::uint8_t value) {
    for (unsigned b = 0; b < 0x80; ++b) WriteBit(static_cast<std::uint8_t>(b), value);
}

void Processor::ClearCodeMemory() { ucCodeMemory.fill(0); }

void Processor::FullReset() {
    // The bit map is needed by the bit-memory writes below it, so the tables
    // are in place before anything else runs; rebuilding them again at the end
    // changes nothing.
    BuildTables();
    ResetExecutionState();
    InitializeIntRAM(0);
    LoadPowerOnResetValues();
    InitializeExtRAM(0);
    ClearCodeMemory();
    FillSfrCatalogue(lstSymbolCatalogue);
    UpdateBaudRates(*this);
    BuildTables();
}

void Processor::BuildTables() {
    for (unsigned v = 0; v < 256; ++v) {
        unsigned ones = 0;
        for (unsigned b = v; b; b >>= 1) ones += b & 1;
        ucParity[v] = static_cast<std::uint8_t>(ones & 1);
        const auto mask = static_cast<std::uint8_t>(1u << (v & 7));
        const auto address = static_cast<std::uint8_t>(v < 0x80 ? 0x20 + (v >> 3) : (v & 0xF8));
        BitMap[v] = {address, mask};
    }
}

}  // namespace tessaly
