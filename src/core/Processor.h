#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/AddressSet.h"
#include "core/CallTrace.h"
#include "core/DerivedInputs.h"
#include "core/InstructionHistory.h"
#include "core/Sfr.h"
#include "core/TextList.h"

namespace tessaly {

class DataWatch;

// One simulated 8052: memories, SFRs, the decoded current instruction, the run
// counters, the message lists and the serial-port bookkeeping. Windows, loaders
// and the snapshot file read and write the fields directly; the three memory
// blocks keep the exact sizes and byte order that the snapshot file stores.
class Processor {
public:
    static constexpr std::size_t kIntRAMSize = 512;
    static constexpr std::size_t kExtRAMSize = 65792;
    static constexpr std::size_t kCodeMemorySize = 65792;
    static constexpr std::size_t kSerialLogSize = 102400;
    static constexpr std::size_t kUpperRAMOffset = 0x100;
    static constexpr double kDefaultCrystalFrequency = 12000000.0;

    struct BitLocation {
        std::uint8_t address;  // direct address of the byte that holds the bit
        std::uint8_t mask;
    };

    Processor();

    // --- memories -------------------------------------------------------
    // 000h-07Fh lower RAM, 080h-0FFh SFR bytes, 100h-17Fh upper RAM, 180h-1FFh spare.
    std::array<std::uint8_t, kIntRAMSize> ucIntRAM{};
    // 64K of external RAM, then 256 spare bytes no instruction reaches.
    std::array<std::uint8_t, kExtRAMSize> ucExtRAM{};
    // 64K of code memory, then 256 guard bytes read by operands past FFFFh.
    std::array<std::uint8_t, kCodeMemorySize> ucCodeMemory{};

    // --- program counter and the decoded current instruction -------------
    std::uint16_t usPC = 0;
    std::uint8_t ucInstructionCycles = 0;
    std::uint8_t ucInstructionLength = 0;
    std::uint8_t ucOpcode = 0;
    std::uint8_t ucOperand1 = 0;
    std::uint8_t ucOperand2 = 0;
    // 1 while executing, 2 while decoding for display, 0 after a reset.
    std::uint8_t ucExecutionStatus = 0;
    std::string strOpcodeBytes;
    TrackedText strInstruction;

    // --- counters and lists ------------------------------------------------
    std::uint64_t ullInstructionsExecuted = 0;
    std::uint64_t ullBytesExecuted = 0;
    std::uint64_t ullCyclesExecuted = 0;
    InstructionHistory lstExecutedInstructions;
    std::int32_t iProgramSize = 0;
    // The calls and interrupt entries open on the stack, for call stacks.
    CallTrace calls;
    std::uint8_t bSkipBreakPointOnce = 0;
    std::uint8_t bExtRAMWritten = 0;
    std::int32_t iExtRAMWriteAddress = 0;
    TextList lstSymbolCatalogue;

    // --- interrupts -------------------------------------------------------
    TextList lstInterruptsInProgress;
    std::uint8_t ucInterruptFlags = 0;
    std::int32_t iInterruptToService = -1;
    TextList lstWarnings;
    TextList lstErrors;

    // --- serial port (the first six are stored as consecutive 4-byte values) -
    std::int32_t iTxBaudRate = -1;
    std::int32_t iRxBaudRate = -1;
    std::int32_t iTxFrameTime = 0;
    std::int32_t iRxFrameTime = 0;
    std::uint8_t bTxInProgress = 0;
    std::int32_t iTxCyclesLeft = 0;
    std::array<std::uint8_t, kSerialLogSize> ucTxLog{};
    std::array<std::uint8_t, kSerialLogSize> ucRxLog{};
    std::int32_t iTxLogPos = 0;
    std::int32_t iRxLogPos = 0;
    std::int32_t iTxLogShown = 0;
    std::int32_t iRxLogShown = 0;

    // --- look-up tables, rebuilt by every full reset ---------------------
    std::array<std::uint8_t, 256> ucParity{};
    std::array<BitLocation, 256> BitMap{};

    // --- engine options (not processor state: no reset touches them and
    // snapshots do not store them) -----------------------------------------
    // Serial port wiring. Off: only MOV A,SBUF receives and MOV SBUF,A
    // transmits. On: every instruction that writes SBUF transmits the byte and
    // every instruction that reads it as a source receives, as on the real chip.
    bool HardwareSerial() const { return hardwareSerial_; }
    void SetHardwareSerial(bool on);
    // External RAM paging. Off: MOVX @Ri reaches 0000h-00FFh only. On: P2
    // supplies the high address byte, as it does on the chip's port pins, so
    // MOVX @Ri reaches all 64K a page at a time (SDCC's start-up code copies
    // initialised xdata this way, stepping pages with INC P2).
    bool XramPaging() const { return xramPaging_; }
    void SetXramPaging(bool on);

    // Data break points: while a watch is set the engine notes every access
    // that reaches it, and ExecuteUntil stops after an instruction with
    // events. Not processor state: no reset touches it, snapshots do not
    // store it. Null for none; the owner keeps it alive while set.
    DataWatch* ActiveDataWatch() const { return dataWatch_; }
    void SetDataWatch(DataWatch* watch);

    // --- clock ------------------------------------------------------------
    // Crystal frequency in Hz. The serial port derives its rates and frame
    // timing from it; the owner of the settings keeps it current. It is not
    // processor state and no reset touches it.
    double CrystalFrequency() const { return crystalFrequency_; }
    void SetCrystalFrequency(double hz) {
        crystalFrequency_ = hz;
        derived_.changes |= sfr_watch::kBaudRates;
    }

    // --- accessors --------------------------------------------------------
    [[gnu::always_inline]] std::uint8_t ReadDirect(std::uint8_t address) const { return ucIntRAM[address]; }
    [[gnu::always_inline]] void WriteDirect(std::uint8_t address, std::uint8_t value) {
        ucIntRAM[address] = value;
        derived_.changes |= sfr_watch::kWatchers.byte[address];
    }

    // 80h-FFh reach the upper RAM, never the SFRs.
    [[gnu::always_inline]] std::uint8_t ReadIndirect(std::uint8_t address) const { return ucIntRAM[IndirectOffset(address)]; }
    [[gnu::always_inline]] void WriteIndirect(std::uint8_t address, std::uint8_t value) { ucIntRAM[IndirectOffset(address)] = value; }

    [[gnu::always_inline]] std::uint8_t RegisterBankBase() const { return ucIntRAM[sfr::PSW] & 0x18; }
    [[gnu::always_inline]] std::uint8_t ReadRegister(unsigned n) const { return ucIntRAM[RegisterBankBase() + (n > 7 ? 0 : n)]; }
    [[gnu::always_inline]] void WriteRegister(unsigned n, std::uint8_t value) { ucIntRAM[RegisterBankBase() + (n > 7 ? 0 : n)] = value; }

    [[gnu::always_inline]] std::uint8_t ReadBit(std::uint8_t bitAddress) const {
        const BitLocation& at = BitMap[bitAddress];
        return (ucIntRAM[at.address] & at.mask) ? 1 : 0;
    }
    [[gnu::always_inline]] void WriteBit(std::uint8_t bitAddress, std::uint8_t value) {
        const BitLocation& at = BitMap[bitAddress];
        if (value) ucIntRAM[at.address] |= at.mask;
        else ucIntRAM[at.address] &= static_cast<std::uint8_t>(~at.mask);
        derived_.changes |= sfr_watch::kWatchers.bit[bitAddress];
    }

    [[gnu::always_inline]] std::uint8_t ReadExtRAM(std::uint16_t address) const { return ucExtRAM[address]; }
    [[gnu::always_inline]] void WriteExtRAM(std::uint16_t address, std::uint8_t value) { ucExtRAM[address] = value; }

    // Addresses up to 100FFh reach the guard bytes.
    std::uint8_t ReadCode(std::uint32_t address) const {
        return address < kCodeMemorySize ? ucCodeMemory[address] : 0;
    }

    [[gnu::always_inline]] std::uint16_t GetDPTR() const { return Pair(sfr::DPH, sfr::DPL); }
    [[gnu::always_inline]] void IncrementDPTR() {
        if (++ucIntRAM[sfr::DPL] == 0) ++ucIntRAM[sfr::DPH];
    }
    std::uint16_t GetTimer0() const { return Pair(sfr::TH0, sfr::TL0); }
    std::uint16_t GetTimer1() const { return Pair(sfr::TH1, sfr::TL1); }
    std::uint16_t GetTimer2() const { return Pair(sfr::TH2, sfr::TL2); }
    std::uint16_t GetRCAP2() const { return Pair(sfr::RCAP2H, sfr::RCAP2L); }

    [[gnu::always_inline]] void Push(std::uint8_t value) {
        ++ucIntRAM[sfr::SP];
        WriteIndirect(ucIntRAM[sfr::SP], value);
    }
    [[gnu::always_inline]] std::uint8_t Pop() {
        const std::uint8_t value = ReadIndirect(ucIntRAM[sfr::SP]);
        --ucIntRAM[sfr::SP];
        return value;
    }

    // Batches of more than one instruction run on the fast engine
    // (core/FastRun.h) unless a data watch is set; with this on they run
    // instruction by instruction on the plain one, which the fast one must
    // match exactly. For comparing the two; not an engine option.
    void UsePlainEngine(bool on) { plainEngine_ = on; }

    // Executes `count` instructions; always returns 1.
    int ExecuteInstructions(std::uint32_t count);
    // Executes up to `count` instructions, stopping before one at an address
    // in `stops` or once the cycle count has reached `cycleEnd`: how many ran.
    // The engine-speed path of runs that stop at places.
    std::uint32_t ExecuteUntil(std::uint32_t count, const AddressSet& stops, std::uint64_t cycleEnd);

    // --- reset and initialisation ------------------------------------------
    void ResetExecutionState();
    void InitializeIntRAM(std::uint8_t value);
    void LoadPowerOnResetValues();
    void InitializeExtRAM(std::uint8_t value);
    void InitializeBitMemory(std::uint8_t value);
    void ClearCodeMemory();
    void FullReset();

    // --- state derived from SFRs ------------------------------------------
    // The timers, the interrupt scan and selection and the serial port keep
    // what they derive from a few registers that programs rarely change
    // (core/DerivedInputs.h) until one of those is written. WriteDirect,
    // WriteBit and the instructions note their writes; code that writes
    // ucIntRAM's SFR bytes, the serial rate fields, ucInterruptFlags or the
    // interrupts in progress directly calls this afterwards.
    void InvalidateDerivedState() {
        derived_.changes = sfr_watch::kAll;
        derived_.rateKey = sfr_watch::kNoRateKey;
    }

    // Offset in ucIntRAM of an indirect address: 80h-FFh lie in the upper RAM.
    [[gnu::always_inline]] static std::size_t IndirectOffset(std::uint8_t address) {
        return address < 0x80 ? address : address + 0x80u;
    }

private:
    friend struct EngineAccess;  // core/EngineAccess.h, for the engine's files only

    // The timers' configuration as the run bits, modes and gates give it, and
    // the counting routine made for it (null while no timer counts).
    struct TimerPlan {
        bool run0 = false, run1 = false;
        std::uint8_t mode0 = 0, mode1 = 0;
        bool splitTimer0High = false;  // timer 0 in mode 3: TH0 runs on TR1
        bool timer2 = false;           // TR2 or EXEN2 set
        bool timer2Counts = false;     // TR2 set, C/T2 clear
        void (*count)(Processor&, unsigned cycles) = nullptr;
    };
    struct DerivedState {
        // sfr_watch bits of the results whose inputs may have changed.
        std::uint8_t changes = sfr_watch::kAll;
        // The inputs the rates were last computed from.
        std::uint64_t rateKey = sfr_watch::kNoRateKey;
        double rateCrystal = -1.0;
        TimerPlan timers;
        // The last interrupt selection, valid while kSelection is clear.
        std::int32_t selectedInterrupt = -1;
    };

    std::uint16_t Pair(std::uint8_t high, std::uint8_t low) const {
        return static_cast<std::uint16_t>((ucIntRAM[high] << 8) | ucIntRAM[low]);
    }
    // Inlined into both run loops: a call per instruction costs the engine
    // a third of its speed.
    template <bool Watched>
    [[gnu::always_inline]] inline void StepOne();
    // ExecuteUntil one instruction at a time.
    std::uint32_t StepUntil(std::uint32_t count, const AddressSet& stops, std::uint64_t cycleEnd);
    void BuildTables();
    void ChooseSteps();

    DerivedState derived_;
    double crystalFrequency_ = kDefaultCrystalFrequency;
    bool hardwareSerial_ = false;
    bool xramPaging_ = false;
    DataWatch* dataWatch_ = nullptr;
    bool plainEngine_ = false;
    // The instruction steps made for the options, chosen when one changes,
    // and the fast engine's batch loop.
    void (*const* steps_)(Processor&, std::uint32_t code);
    using FastRunFunction = std::uint32_t (*)(Processor&, std::uint32_t count, const AddressSet& stops,
                                              std::uint64_t cycleEnd);
    FastRunFunction fastRun_;
    FastRunFunction fastRunWithoutStops_;  // for an empty stop set
};

}  // namespace tessaly
