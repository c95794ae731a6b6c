#include "dap/ExecutionRequests.h"

#include "control/SelfLoops.h"
#include "control/SerialLog.h"
#include "util/CodePointText.h"

namespace tessaly::dap {

namespace {

// Instructions between two looks at the requests in a free run: about a
// third of a millisecond at engine speed. While serial input waits, the
// looks come more often, so each byte reaches the receiver close to when it
// can take it.
constexpr std::uint32_t kTick = 65536;
constexpr std::uint32_t kTickWhileFeeding = 256;
// The input is polled at most this often when looks come more often.
constexpr auto kPollInterval = std::chrono::milliseconds(1);


}  // namespace

void ExecutionRequests::Register(Dispatcher& dispatcher) {
    dispatcher.On("configurationDone", [this](const Request& r) { ConfigurationDone(r); });
    dispatcher.On("continue", [this](const Request& r) { Resume(r, Run::Continue); });
    dispatcher.On("next", [this](const Request& r) { Resume(r, Run::StepOver); });
    dispatcher.On("stepIn", [this](const Request& r) { Resume(r, Run::StepInto); });
    dispatcher.On("stepOut", [this](const Request& r) { Resume(r, Run::StepOut); });
    dispatcher.On("stepBack", [this](const Request& r) { Resume(r, Run::StepBack); });
    dispatcher.On("reverseContinue", [this](const Request& r) { Resume(r, Run::ReverseContinue); });
    dispatcher.On("pause", [this](const Request& r) { Pause(r); });
    dispatcher.On("threads", [this](const Request& r) {
        c_.out.Respond(r, {{"threads", {{{"id", 1}, {"name", "8051"}}}}});
    });
    dispatcher.On("terminate", [this](const Request& r) { Terminate(r); });
    dispatcher.On("disconnect", [this](const Request& r) { Disconnect(r); });
}

void ExecutionRequests::Prepare(const LaunchOptions& options) {
    stopOnEntry_ = options.stopOnEntry;
    stopOnSelfLoop_ = options.stopOnSelfLoop;
    if (stopOnSelfLoop_) selfLoops_ = SelfLoopAddresses(c_.session.processor());
    feed_.Add(options.serialInput);
    const Processor& p = c_.session.processor();
    warningsSeen_ = p.lstWarnings.Count();
    errorsSeen_ = p.lstErrors.Count();
    // What a loaded snapshot had transmitted before is not news.
    sent_.emplace(p);
}

void ExecutionRequests::ConfigurationDone(const Request& request) {
    if (!c_.launched) throw RequestError("No program is launched");
    if (configured_) throw RequestError("The configuration is already done");
    configured_ = true;
    c_.out.Respond(request);
    if (stopOnEntry_) {
        c_.out.Event("stopped", {{"reason", "entry"}, {"threadId", 1}, {"allThreadsStopped", true}});
    } else {
        pending_ = Run::Continue;
    }
}

void ExecutionRequests::Resume(const Request& request, Run run) {
    if (!c_.launched) throw RequestError("No program is launched");
    if (c_.terminated) throw RequestError("The program has ended");
    if (c_.busy) {
        // Continuing a run that goes on anyway changes nothing.
        if (run == Run::Continue) {
            c_.out.Respond(request, {{"allThreadsContinued", true}});
            return;
        }
        throw RequestError("The program is running; pause it first");
    }
    pending_ = run;
    c_.out.Respond(request, run == Run::Continue ? nlohmann::json{{"allThreadsContinued", true}} : nlohmann::json::object());
}

void ExecutionRequests::StopRun() {
    ExecutionController& controller = c_.session.controller();
    if (controller.IsExecuting()) controller.StartStop();
    else controller.StopDebugging();
}

void ExecutionRequests::Pause(const Request& request) {
    if (!c_.launched) throw RequestError("No program is launched");
    if (c_.busy) {
        pauseRequested_ = true;
        StopRun();
    }
    c_.out.Respond(request);
}

void ExecutionRequests::Terminate(const Request& request) {
    if (c_.busy) StopRun();
    pending_ = Run::None;
    c_.out.Respond(request);
    if (!c_.terminated) {
        c_.terminated = true;
        c_.out.Event("terminated");
    }
}

void ExecutionRequests::Disconnect(const Request& request) {
    if (c_.busy) c_.session.controller().Exit();
    pending_ = Run::None;
    c_.quit = true;
    c_.out.Respond(request);
}

void ExecutionRequests::SetRunSettings() {
    SimulationSettings& live = c_.session.settings.Live();
    live.refreshType = 3;
    live.speedDelay = 0;
    live.instructionsPerTick = feed_.Empty() ? kTick : kTickWhileFeeding;
}

void ExecutionRequests::PassOnOutput() {
    Processor& p = c_.session.processor();
    const std::string sent = sent_ ? sent_->Take(p) : std::string();
    if (!sent.empty()) c_.out.Output("stdout", BytesAsCodePoints(std::string_view(sent)));
    // The lists empty themselves when very long: start counting again.
    if (p.lstWarnings.Count() < warningsSeen_) warningsSeen_ = 0;
    if (p.lstErrors.Count() < errorsSeen_) errorsSeen_ = 0;
    // A warning repeats for every instruction while its cause lasts: each
    // text is said once.
    for (; warningsSeen_ < p.lstWarnings.Count(); ++warningsSeen_) {
        const std::string& text = p.lstWarnings[warningsSeen_];
        if (warningsSaid_.size() < 64 && warningsSaid_.insert(text).second) c_.out.Output("console", "Warning: " + text + "\n");
    }
    for (; errorsSeen_ < p.lstErrors.Count(); ++errorsSeen_) {
        c_.out.Output("console", "Error: " + p.lstErrors[errorsSeen_] + "\n");
        errorStop_ = true;
    }
    c_.SayMessages();
}

void ExecutionRequests::BetweenSlices() {
    if (!c_.busy) return;
    if (!feed_.Empty()) {
        feed_.Deliver(c_.session);
        if (feed_.Empty()) SetRunSettings();  // back to long ticks
    }
    PassOnOutput();
    if (errorStop_) StopRun();
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPoll_ >= kPollInterval) {
        lastPoll_ = now;
        c_.pollRequests();
    }
}

void ExecutionRequests::RunPending() {
    const Run run = std::exchange(pending_, Run::None);
    if (run == Run::None || c_.terminated || c_.quit) return;
    Session& s = c_.session;
    onResume_();
    feed_.FollowGoingBack(s.processor());
    SetRunSettings();
    pauseRequested_ = false;
    errorStop_ = false;
    const std::size_t errorsBefore = s.processor().lstErrors.Count();
    ExecutionController& controller = s.controller();
    controller.SetExtraStops(stopOnSelfLoop_ ? &selfLoops_ : nullptr);
    c_.busy = true;
    // The first byte of serial input may be due before the first slice.
    feed_.Deliver(s);
    switch (run) {
    case Run::Continue: controller.StartStop(); break;
    case Run::StepOver: s.StepOver(); break;
    case Run::StepInto: s.StepInto(); break;
    case Run::StepOut: s.StepOut(); break;
    case Run::StepBack: s.StepBackLine(); break;
    case Run::ReverseContinue: s.ReverseContinue(); break;
    case Run::None: break;
    }
    c_.busy = false;
    controller.SetExtraStops(nullptr);
    PassOnOutput();
    if (c_.quit || c_.terminated) return;
    ReportStop(run, errorsBefore);
}

void ExecutionRequests::End(int exitCode) {
    c_.out.Event("exited", {{"exitCode", exitCode}});
    c_.terminated = true;
    c_.out.Event("terminated");
}

void ExecutionRequests::ReportStop(Run run, std::size_t errorsBefore) {
    Session& s = c_.session;
    const Processor& p = s.processor();
    nlohmann::json stopped = {{"threadId", 1}, {"allThreadsStopped", true}};
    const StopReason reason = s.controller().LastStop();
    if (errorStop_) {
        std::string text;
        for (std::size_t i = std::min(errorsBefore, p.lstErrors.Count()); i < p.lstErrors.Count(); ++i) {
            text += (text.empty() ? "" : "\n") + p.lstErrors[i];
        }
        stopped["reason"] = "exception";
        stopped["description"] = "Error";
        stopped["text"] = text;
    } else if (reason == StopReason::StopAddress && stopOnSelfLoop_ && selfLoops_.Contains(p.usPC)) {
        End(0);
        return;
    } else if (reason == StopReason::DataBreakPoint && s.controller().LastDataStop()) {
        const DataStop& stop = *s.controller().LastDataStop();
        stopped["reason"] = "data breakpoint";
        stopped["description"] = DataStopText(stop);
        if (const auto id = breakpoints_.DataIdAt(stop.index)) stopped["hitBreakpointIds"] = {*id};
    } else if (reason == StopReason::BreakPoint) {
        stopped["reason"] = breakpoints_.ReasonAt(p.usPC);
        stopped["hitBreakpointIds"] = breakpoints_.IdsAt(p.usPC);
    } else if (reason == StopReason::HistoryStart) {
        const RunHistory& history = s.History();
        const std::string text = HistoryStartText(history.Empty() ? p.ullInstructionsExecuted : history.Start());
        c_.out.Output("console", text + "\n");
        stopped["reason"] = "step";
        stopped["description"] = text;
    } else if (pauseRequested_ || run == Run::Continue) {
        stopped["reason"] = "pause";
    } else {
        stopped["reason"] = "step";
    }
    c_.out.Event("stopped", stopped);
}

}  // namespace tessaly::dap
