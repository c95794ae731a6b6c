#include "core/Interrupts.h"

#include <array>
#include <bit>
#include <charconv>
#include <string>

#include "core/DataWatch.h"
#include "core/EngineAccess.h"
#include "core/Messages.h"
#include "util/IntegerText.h"

namespace tessaly {

namespace {

// Flags the vectoring clears; the serial and timer 2 flags are left for the
// service routine to clear.
constexpr std::uint8_t kClearedOnVectoring[4] = {bit::IE0, bit::TF0, bit::IE1, bit::TF1};

// A requesting source outranks one that is not requesting; then a set
// priority bit outranks a clear one; then the lower source number wins.
int Key(int n, unsigned ip, bool requesting) {
    return (5 - n) + 256 * static_cast<int>((ip >> n) & 1) + (requesting ? 65536 : 0);
}

struct ButtonInfo {
    std::uint8_t flagBit, enableBit, request;
    const char* disabledPrompt;
};

constexpr ButtonInfo kButtons[] = {
    {bit::IE0, bit::EX0, 0x01, "External Interrupt 0 is disabled\r\nStill Ignore this and interrupt ?"},
    {bit::TF0, bit::ET0, 0x02, "Timer 0 Interrupt is disabled\r\nStill Ignore this and interrupt ?"},
    {bit::IE1, bit::EX1, 0x04, "External Interrupt 1 is disabled\r\nStill Ignore this and interrupt ?"},
    {bit::TF1, bit::ET1, 0x08, "Timer 1 Interrupt is disabled\r\nStill Ignore this and interrupt ?"},
    {bit::RI, bit::ES, 0x10, "Serial Interrupt is disabled\r\nStill Ignore this and interrupt ?"},
    {bit::TI, bit::ES, 0x10, "Serial Interrupt is disabled\r\nStill Ignore this and interrupt ?"},
    {bit::TF2, bit::ET2, 0x20, "Timer 2 Interrupt is disabled\r\nStill Ignore this and interrupt ?"},
    {bit::EXF2, bit::ET2, 0x20, "Timer 2 Interrupt is disabled\r\nStill Ignore this and interrupt ?"},
};

// The source number of an entry of lstInterruptsInProgress, or -1 for a text
// that is not one (a snapshot file may hold anything).
int SourceOf(const std::string& entry) {
    if (entry.size() == 1 && entry[0] >= '0' && entry[0] <= '5') return entry[0] - '0';
    const auto n = ParseUnsigned<unsigned>(entry);
    return n && *n <= 5 ? static_cast<int>(*n) : -1;
}

}  // namespace

void ScanInterruptRequests(Processor& p) {
    const unsigned ie = p.ucIntRAM[sfr::IE];
    if (!(ie & MaskOf(bit::EA))) return;
    // Each source's flags moved to its request bit; IE holds the six enable
    // bits at the same positions (EX0, ET0, EX1, ET1, ES, ET2). TCON has IE0,
    // IE1 at bits 1, 3 and TF0, TF1 at bits 5, 7.
    const unsigned tcon = p.ucIntRAM[sfr::TCON];
    const unsigned serial = (p.ucIntRAM[sfr::SCON] & 0x03) != 0;   // RI or TI
    const unsigned timer2 = (p.ucIntRAM[sfr::T2CON] & 0xC0) != 0;  // TF2 or EXF2
    const unsigned flags = ((tcon >> 1) & 0x05) | ((tcon >> 4) & 0x0A) | (serial << 4) | (timer2 << 5);
    RequestInterrupts(p, static_cast<std::uint8_t>(flags & ie));
}

void SelectInterrupt(Processor& p) {
    p.iInterruptToService = -1;
    const unsigned ip = p.ucIntRAM[sfr::IP];
    const unsigned requests = p.ucInterruptFlags & 0x3Fu;
    // The source with the highest key: among the requesting sources (all six
    // when none requests), those with their priority bit set if any, then the
    // lowest number.
    unsigned candidates = requests ? requests : 0x3Fu;
    if (candidates & ip) candidates &= ip;
    const int best = std::countr_zero(candidates);
    if (p.lstInterruptsInProgress.Empty()) {
        p.iInterruptToService = best;
        return;
    }
    // A source preempts the one in service only when it outranks it.
    const int current = SourceOf(p.lstInterruptsInProgress.Last());
    if (current >= 0 && Key(best, ip, (requests >> best) & 1) > Key(current, ip, true)) p.iInterruptToService = best;
}

void VectorInterrupt(Processor& p, int n) {
    if (n < 0 || n > 5) return;
    // The six entry texts, made once: a list remembers the tracked text it
    // appended last, so a source entered again and again costs no look-up.
    static const std::array<TrackedText, 6> kSourceTexts = [] {
        std::array<TrackedText, 6> texts;
        for (int source = 0; source < 6; ++source) texts[source] = std::to_string(source);
        return texts;
    }();
    p.lstInterruptsInProgress.Append(kSourceTexts[n]);
    NoteChanges(p, sfr_watch::kSelection);
    p.Push(static_cast<std::uint8_t>(p.usPC & 0xFF));
    p.Push(static_cast<std::uint8_t>(p.usPC >> 8));
    p.calls.Enter(p.usPC, kInterruptVectors[n], p.ucIntRAM[sfr::SP], static_cast<std::int8_t>(n));
    p.usPC = kInterruptVectors[n];
    if (n < 4) {
        NoteHardwareBit(p, kClearedOnVectoring[n], false);
        p.WriteBit(kClearedOnVectoring[n], 0);
    }
}

void ReturnFromInterrupt(Processor& p) {
    if (p.lstInterruptsInProgress.Empty()) {
        PostError(p, messages::kRetiWithoutInterrupt);
        return;
    }
    const int current = SourceOf(p.lstInterruptsInProgress.Last());
    if (current >= 0) p.ucInterruptFlags &= static_cast<std::uint8_t>(~(1u << current));
    p.lstInterruptsInProgress.DeleteLast();
    // A flag still set (RI, TI, TF2, EXF2) requests its source again at once.
    NoteChanges(p, sfr_watch::kSelection | sfr_watch::kInterrupts);
}

bool ForceInterrupt(Processor& p, InterruptButton button, MessageHost& host) {
    const ButtonInfo& info = kButtons[static_cast<int>(button)];
    if (!p.ReadBit(bit::EA) &&
        !host.AskYesNo(MessageKind::Warning, "Global interrupt is disabled\r\nStill Ignore this and proceed ?")) {
        return false;
    }
    p.WriteBit(info.flagBit, 1);
    if (!p.ReadBit(info.enableBit) && !host.AskYesNo(MessageKind::Warning, info.disabledPrompt)) return false;
    RequestInterrupts(p, info.request);
    return true;
}

const char* InterruptEnableName(int source) {
    static constexpr const char* kNames[] = {"EX0", "ET0", "EX1", "ET1", "ES", "ET2"};
    return (source >= 0 && source < 6) ? kNames[source] : "";
}

}  // namespace tessaly
