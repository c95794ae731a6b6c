// The workloads a Release build profiles the instruction engine with before
// compiling it for good: the benchmarks' mixed program in batches, one
// instruction at a time, up to a break point, under each kind of data watch,
// and the two peer programs. The compiler learns from the counts which
// branches go which way and which code is hot; code left out here is
// compiled as it would be without a profile, so each way of running gets a
// share.
//
// usage: tessaly_engine_training <bench folder, holding peer/ and peer2/>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "MixedProgram.h"
#include "core/AddressSet.h"
#include "core/DataWatch.h"
#include "core/Diagnostics.h"
#include "core/Processor.h"
#include "loading/ProgramFile.h"

namespace {

using namespace tessaly;

class StderrMessages final : public MessageHost {
public:
    bool told = false;
    void Tell(MessageKind, const std::string& text) override {
        std::fprintf(stderr, "tessaly_engine_training: %s\n", text.c_str());
        told = true;
    }
    bool AskYesNo(MessageKind kind, const std::string& text) override {
        Tell(kind, text);
        return false;
    }
};

// As the execution controller runs the engine: long batches up to a set of
// stops.
void RunUntil(Processor& p, const AddressSet& stops, std::uint64_t instructions) {
    const std::uint64_t end = p.ullInstructionsExecuted + instructions;
    while (p.ullInstructionsExecuted < end) {
        const auto batch = static_cast<std::uint32_t>(std::min<std::uint64_t>(end - p.ullInstructionsExecuted, 100000));
        if (p.ExecuteUntil(batch, stops, UINT64_MAX) == 0) break;
    }
}

void RunMixedProgram() {
    auto p = bench::MixedProgram();
    for (int i = 0; i < 20000; ++i) p->ExecuteInstructions(1000);
    for (int i = 0; i < 1000000; ++i) p->ExecuteInstructions(1);
    AddressSet stops;
    stops.Insert(0x7000);  // never reached
    RunUntil(*p, stops, 10000000);
}

// A data watch the program never triggers, as a data break point sets it.
void RunWatched(std::uint16_t index, std::uint16_t last, std::uint8_t access) {
    auto p = bench::MixedProgram();
    DataWatch watch;
    for (std::uint16_t i = index; i <= last; ++i) watch.WatchInternal(i, 0xFF, access);
    watch.Arm(*p);
    p->SetDataWatch(&watch);
    RunUntil(*p, AddressSet{}, 4000000);
    p->SetDataWatch(nullptr);
}

// A peer program up to its final jump to itself; says how far it went.
bool RunPeerProgram(const std::filesystem::path& hex) {
    Processor p;
    StderrMessages messages;
    if (OpenProgramFile(hex, p, messages) != ProgramOpen::Opened || messages.told) return false;
    p.SetCrystalFrequency(11059200.0);
    const AddressSet none;
    for (int batch = 0; batch < 400; ++batch) {
        const std::uint16_t pc = p.usPC;
        if (p.ucCodeMemory[pc] == 0x80 && p.ucCodeMemory[pc + 1] == 0xFE) break;  // SJMP $
        RunUntil(p, none, 100000);
    }
    std::printf("%s: %llu instructions, %s\n", hex.filename().string().c_str(),
                static_cast<unsigned long long>(p.ullInstructionsExecuted),
                ElapsedTimeText(p.ullCyclesExecuted, p.CrystalFrequency()).c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tessaly_engine_training <bench folder, holding peer/ and peer2/>\n");
        return 2;
    }
    const std::filesystem::path bench = argv[1];
    RunMixedProgram();
    const std::uint16_t upperF0 = Processor::IndirectOffset(0xF0);
    RunWatched(upperF0, upperF0, kWatchWrite);
    RunWatched(sfr::RCAP2L, sfr::RCAP2H, kWatchWrite);
    RunWatched(upperF0, upperF0, kWatchRead);
    return RunPeerProgram(bench / "peer" / "peer.hex") && RunPeerProgram(bench / "peer2" / "peripherals.hex") ? 0 : 1;
}
