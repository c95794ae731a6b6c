#include "core/Diagnostics.h"
#include "core/HardwareSerial.h"
#include "core/ExecutionStatus.h"
#include "core/InstructionSet.h"
#include "core/Interrupts.h"
#include "core/OpcodeTable.h"
#include "core/Processor.h"
#include "core/SerialPort.h"
#include "core/Timers.h"

namespace tessaly {

int Processor::ExecuteInstructions(std::uint32_t count) {
    for (std::uint32_t i = 0; i < count; ++i) StepOne();
    return 1;
}

// One instruction with everything around it, in the order the hardware's
// effects become visible: a request raised during this instruction is chosen
// at the start of the next one and entered after that one completes.
void Processor::StepOne() {
    ScanInterruptRequests(*this);
    int toService = -1;
    if (ucInterruptFlags) {
        SelectInterrupt(*this);
        toService = iInterruptToService;
    } else {
        iInterruptToService = -1;
    }

    // The history holds the text last decoded for display, which names this
    // instruction only when the display was refreshed since the previous one.
    if (lstExecutedInstructions.Count() > kHistoryLimit) lstExecutedInstructions.Clear();
    lstExecutedInstructions.Append(strInstruction);

    ucExecutionStatus = kStatusExecuting;
    // Operands of an instruction at FFFEh or FFFFh come from the guard bytes.
    const std::uint8_t opcode = ucOpcode = ucCodeMemory[usPC];
    ucOperand1 = ucCodeMemory[usPC + 1u];
    ucOperand2 = ucCodeMemory[usPC + 2u];
    const OpcodeTiming timing = kOpcodeTimings[opcode];
    ucInstructionLength = timing.length;
    ucInstructionCycles = timing.cycles;
    usPC = static_cast<std::uint16_t>(usPC + timing.length);
    if (bHardwareSerial) [[unlikely]] ExecuteWithHardwareSerial(*this, opcode);
    else kInstructionHandlers[opcode](*this);

    // P follows the accumulator after every instruction, whatever was written to it.
    ucIntRAM[sfr::PSW] = static_cast<std::uint8_t>((ucIntRAM[sfr::PSW] & ~psw::P) | ucParity[ucIntRAM[sfr::ACC]]);

    ++ullInstructionsExecuted;
    ullCyclesExecuted += timing.cycles;
    ullBytesExecuted += timing.length;

    UpdateTimers(*this);
    UpdateSerialPort(*this);
    ApplyMessageListLimits(*this);

    if (toService != -1) VectorInterrupt(*this, toService);
}

}  // namespace tessaly
