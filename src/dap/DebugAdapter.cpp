#include "dap/DebugAdapter.h"

#include "dap/Capabilities.h"
#include "dap/LaunchOptions.h"
#include "loading/ProgramFile.h"

namespace tessaly::dap {

DebugAdapter::DebugAdapter(Channel& channel)
    : channel_(channel),
      out_(channel),
      session_({}, messages_, windows_, runHost_),
      context_(out_, messages_, session_),
      dispatcher_(out_),
      breakpoints_(context_, listings_),
      stack_(context_, listings_),
      variables_(context_, stack_),
      memory_(context_),
      execution_(context_, breakpoints_, [this] { Forget(); }) {
    windows_.Follow(session_.layout);
    context_.pollRequests = [this] { Pump(0); };
    runHost_.betweenSlices = [this] { execution_.BetweenSlices(); };
    dispatcher_.On("initialize", [this](const Request& r) { Initialize(r); });
    dispatcher_.On("launch", [this](const Request& r) { Launch(r); });
    breakpoints_.Register(dispatcher_);
    stack_.Register(dispatcher_);
    variables_.Register(dispatcher_);
    memory_.Register(dispatcher_);
    execution_.Register(dispatcher_);
    // Whatever the session said during a request and was not made part of
    // its answer is said on the console.
    dispatcher_.After([this] { context_.SayMessages(); });
}

void DebugAdapter::Forget() {
    stack_.Forget();
    variables_.Forget();
}

void DebugAdapter::Initialize(const Request& request) {
    if (initialized_) throw RequestError("The adapter is already initialized");
    initialized_ = true;
    out_.Respond(request, Capabilities());
}

void DebugAdapter::Launch(const Request& request) {
    if (context_.launched) throw RequestError("A program is already launched");
    const LaunchOptions o = ReadLaunchOptions(request.arguments);
    Session& s = session_;
    SimulationSettings choices = s.settings.Current();
    choices.crystalFrequency = o.crystal;
    // The listing and symbol files beside the program load with it.
    choices.autoLoadLabels = 1;
    s.settings.Accept(choices);
    messages_.Take();
    if (IsSnapshotPath(o.program)) {
        if (s.OpenSimulationCommand(o.program) != Session::SimulationOpen::Opened) throw RequestError(context_.TakeMessages());
    } else if (s.OpenFileCommand(o.program) != ProgramOpen::Opened) {
        std::string why = context_.TakeMessages();
        std::error_code error;
        if (!std::filesystem::exists(o.program, error)) why = "No such file: " + o.program.string() + "\n" + why;
        throw RequestError(why);
    }
    s.SetHardwareSerial(o.hardwareSerial);
    s.SetXramPaging(o.xramPaging);
    if (!o.labels.empty() && !s.ImportLabels(o.labels)) {
        const std::string why = context_.TakeMessages();
        s.ResetWorkspace();
        messages_.Take();
        throw RequestError(why);
    }
    if (!s.source().Info() && !IsSnapshotPath(o.program)) {
        auto beside = o.program;
        beside.replace_extension(".cdb");
        std::error_code error;
        if (std::filesystem::is_regular_file(beside, error)) s.LoadDebugInfo(beside);
    }
    // An assembler program's listing beside it gives its frames their lines.
    for (const char* extension : {".lst", ".LST", ".rst"}) {
        auto listing = o.program;
        listing.replace_extension(extension);
        std::error_code error;
        if (std::filesystem::is_regular_file(listing, error) && listings_.Of(listing)) break;
    }
    for (const auto& label : o.labels) {
        const std::string extension = label.extension().string();
        if (extension == ".lst" || extension == ".LST" || extension == ".rst") listings_.Of(label);
    }
    context_.launched = true;
    execution_.Prepare(o);
    out_.Respond(request);
    out_.Event("initialized");
}

bool DebugAdapter::DispatchBuffered() {
    bool answered = false;
    while (!context_.quit) {
        // A request that runs the program is carried out by Serve, not here
        // between the slices of another run.
        if (execution_.HasPendingRun() && !context_.busy) break;
        auto frame = reader_.Next();
        if (!frame) break;
        answered = true;
        if (!frame->error.empty()) dispatcher_.FramingError(frame->error);
        else dispatcher_.Dispatch(frame->body);
    }
    return answered;
}

void DebugAdapter::EndIfClientGone() {
    if (!inputEnded_ || context_.quit) return;
    // The client is gone: a run in progress ends with it.
    context_.quit = true;
    if (context_.busy) session_.controller().Exit();
}

bool DebugAdapter::Pump(int timeoutMs) {
    if (DispatchBuffered()) return true;
    if (inputEnded_) {
        EndIfClientGone();
        return false;
    }
    std::string bytes;
    if (channel_.ReadSome(bytes, timeoutMs) == Channel::Read::Closed) inputEnded_ = true;
    reader_.Feed(bytes);
    DispatchBuffered();
    if (inputEnded_ && context_.busy) EndIfClientGone();
    return true;
}

void DebugAdapter::Serve() {
    while (!context_.quit && out_.Connected()) {
        if (execution_.HasPendingRun()) {
            execution_.RunPending();
            continue;
        }
        if (!Pump(-1) && !execution_.HasPendingRun()) break;
    }
}

}  // namespace tessaly::dap
