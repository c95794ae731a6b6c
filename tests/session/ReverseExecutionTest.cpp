#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/StateJson.h"
#include "control/Location.h"
#include "core/Sfr.h"
#include "session/Session.h"
#include "support/DesktopRecorder.h"
#include "support/RandomProgram.h"
#include "support/RunRecorder.h"
#include "support/ScratchDirectory.h"
#include "support/TestMachine.h"

namespace tessaly {
namespace {

// One change made from outside the program, at an instruction count.
struct Input {
    enum class Kind { Write, Send, Force } kind = Kind::Write;
    std::uint64_t at = 0;
    Location location;
    std::uint16_t value = 0;
    InterruptButton button = InterruptButton::Timer0;
};

Location Sfr(const char* name) { return {LocationKind::SfrRegister, *CatalogueIndex(LocationKind::SfrRegister, name)}; }

// A session without configuration files, running at engine speed.
struct Machine {
    test::MessageRecorder messages;
    test::DesktopRecorder desktop;
    test::RunRecorder runs;
    Session session{{}, messages, desktop, runs};

    explicit Machine(const std::filesystem::path& program) {
        desktop.layout = &session.layout;
        session.OpenProgramFile(program);
        SimulationSettings& live = session.settings.Live();
        live.refreshType = 3;
        live.speedDelay = 0;
        live.instructionsPerTick = 65536;
    }
    Processor& p() { return session.processor(); }
    // A free run that ends at `end` instructions at the latest.
    void RunTo(std::uint64_t end) {
        if (p().ullInstructionsExecuted >= end) return;
        session.controller().SetBudget({end, UINT64_MAX});
        session.controller().StartStop();
        session.controller().SetBudget({});
    }
    void Apply(const Input& input) {
        switch (input.kind) {
        case Input::Kind::Write: session.WriteValue(input.location, input.value); break;
        case Input::Kind::Send: session.SendByte(static_cast<std::uint8_t>(input.value)); break;
        case Input::Kind::Force: session.ForceInterrupt(input.button); break;
        }
    }
    // What the runner reports of the machine, external RAM included, and
    // how many lines the instruction history holds.
    nlohmann::json State() {
        std::ostringstream out;
        cli::WriteStateJson(out, p(), "", true, nullptr, nullptr);
        nlohmann::json state = nlohmann::json::parse(out.str());
        state["history"] = p().lstExecutedInstructions.Count();
        return state;
    }
};

// The machine a plain forward run reaches at `count` with the inputs made
// at their counts.
nlohmann::json ForwardState(const std::filesystem::path& program, const std::vector<Input>& inputs, std::uint64_t count) {
    Machine forward(program);
    for (const Input& input : inputs) {
        forward.RunTo(input.at);
        forward.Apply(input);
    }
    forward.RunTo(count);
    EXPECT_EQ(forward.p().ullInstructionsExecuted, count);
    return forward.State();
}

// The parts of two states that differ, by name; "" when none does.
std::string Differences(const nlohmann::json& a, const nlohmann::json& b) {
    std::string names;
    for (const auto& [key, value] : a.items()) {
        if (!b.contains(key) || b[key] != value) names += " " + key;
    }
    return names;
}

Input RandomInput(test::Random& r, std::uint64_t at) {
    static const char* const kRegisters[] = {"TCON", "TMOD", "TH0", "TL1", "SCON", "SBUF", "IE", "IP", "T2CON", "SP"};
    Input input;
    input.at = at;
    switch (r.Below(4)) {
    case 0:
        input.location = Sfr(r.Pick(kRegisters));
        input.value = r.Byte();
        break;
    case 1:
        input.location = {r.Percent(50) ? LocationKind::InternalRAM : LocationKind::ExternalRAM, r.Byte()};
        input.value = r.Byte();
        break;
    case 2:
        input.kind = Input::Kind::Send;
        input.value = r.Byte();
        break;
    default:
        input.kind = Input::Kind::Force;
        input.button = static_cast<InterruptButton>(r.Below(8));
        break;
    }
    return input;
}

// Random code with the timers, the serial port and interrupts running, driven
// at random through runs, steps, edits, serial bytes, forced interrupts, step
// backs, reverse continues and last writes, with a small history (checkpoints
// every few thousand instructions, the oldest dropped). After every command
// the whole state equals that of a plain forward run with the same inputs.
TEST(ReverseExecution, EveryMixOfCommandsLeavesTheStateOfAForwardRun) {
    test::ScratchDirectory dir;
    for (const unsigned seed : {11u, 29u, 47u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        test::Random r(seed);
        const std::vector<std::uint8_t> image = test::RandomProgramImage(r);
        const auto program = dir.Write("random" + std::to_string(seed) + ".bin", std::string(image.begin(), image.end()));

        Machine m(program);
        m.session.History().SetInterval(1);
        m.session.History().SetLimit(6 * sizeof(Processor));
        std::vector<Input> inputs;
        for (const auto& [name, value] : {std::pair{"SP", 0x60}, {"TMOD", 0x21}, {"TH1", 0xFD}, {"TCON", 0x50},
                                          {"SCON", 0x50}, {"IE", 0x9F}, {"RCAP2H", 0xFF}, {"T2CON", 0x04}}) {
            inputs.push_back({Input::Kind::Write, 0, Sfr(name), static_cast<std::uint16_t>(value)});
            m.Apply(inputs.back());
        }
        m.session.AddDataBreakPoint("TH1", DataAccess::Change);

        for (int command = 0; command < 40; ++command) {
            const std::uint64_t before = m.p().ullInstructionsExecuted;
            const unsigned pick = r.Below(9);
            if (pick <= 1) {
                if (r.Percent(50)) m.session.breakPoints.Clear();
                m.RunTo(before + 1 + r.Below(200000));
            } else if (pick == 2) {
                m.session.controller().SingleStep();
            } else if (pick == 3) {
                inputs.push_back(RandomInput(r, before));
                m.Apply(inputs.back());
            } else if (pick == 4) {
                m.session.breakPoints.Add(m.p().usPC);
                m.RunTo(before + 1 + r.Below(200000));
            } else if (pick == 5) {
                m.session.StepBack(1 + r.Below(r.Percent(10) ? 400000 : 3000));
            } else if (pick == 6) {
                m.session.ReverseContinue();
            } else if (pick == 7) {
                EXPECT_EQ(m.session.LastWrite(r.Percent(50) ? "SP" : "SBUF"), "");
            } else {
                m.session.StepBackLine();  // no C lines: one instruction
            }
            const std::uint64_t now = m.p().ullInstructionsExecuted;
            ASSERT_GE(now, m.session.History().Start());
            // Going back drops the inputs made after the place gone back to.
            std::erase_if(inputs, [&](const Input& input) { return input.at > now; });
            ASSERT_EQ(Differences(m.State(), ForwardState(program, inputs, now)), "")
                << "after command " << command << " (" << pick << ") from " << before << " to " << now;
        }
    }
}

// Going back keeps the present as a checkpoint while it searches: with a
// bound that holds a single checkpoint, that must not push out the past the
// search needs.
TEST(ReverseExecution, ATightBoundStillStepsBack) {
    test::ScratchDirectory dir;
    test::Random r(5);
    const std::vector<std::uint8_t> image = test::RandomProgramImage(r);
    const auto program = dir.Write("tight.bin", std::string(image.begin(), image.end()));
    Machine m(program);
    m.session.History().SetLimit(sizeof(Processor) + sizeof(Processor) / 2);
    m.RunTo(2500000);
    ASSERT_EQ(m.session.History().Checkpoints(), 1u);
    m.session.StepBack(1);
    EXPECT_EQ(m.session.controller().LastStop(), StopReason::StepEnd);
    EXPECT_EQ(m.p().ullInstructionsExecuted, 2499999u);
    EXPECT_EQ(Differences(m.State(), ForwardState(program, {}, 2499999)), "");
}

}  // namespace
}  // namespace tessaly
