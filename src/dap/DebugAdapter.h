#pragma once

#include <memory>

#include "dap/AdapterContext.h"
#include "dap/AdapterRunHost.h"
#include "dap/BreakpointRequests.h"
#include "dap/Channel.h"
#include "dap/CollectedMessages.h"
#include "dap/Dispatcher.h"
#include "dap/ExecutionRequests.h"
#include "dap/MemoryRequests.h"
#include "dap/MessageReader.h"
#include "dap/Outbox.h"
#include "dap/StackRequests.h"
#include "dap/VariableRequests.h"
#include "session/HeadlessSessionHost.h"
#include "session/Session.h"

namespace tessaly::dap {

// The whole of tessaly-dap over one channel: one session, driven by the
// client's requests, on this one thread. While the program runs, requests
// are read and answered between the run's slices.
class DebugAdapter {
public:
    explicit DebugAdapter(Channel& channel);
    // Serves the client until it disconnects or its input ends.
    void Serve();

private:
    void Initialize(const Request& request);
    void Launch(const Request& request);
    // Reads what has arrived within `timeoutMs` and answers every whole
    // request; false once the input has ended.
    bool Pump(int timeoutMs);
    // Answers the whole requests already read; true when there was one.
    bool DispatchBuffered();
    void EndIfClientGone();
    void Forget();

    Channel& channel_;
    MessageReader reader_;
    Outbox out_;
    CollectedMessages messages_;
    HeadlessSessionHost windows_;
    AdapterRunHost runHost_;
    Session session_;
    AdapterContext context_;
    Dispatcher dispatcher_;
    Listings listings_;
    BreakpointRequests breakpoints_;
    StackRequests stack_;
    VariableRequests variables_;
    MemoryRequests memory_;
    ExecutionRequests execution_;
    bool initialized_ = false;
    bool inputEnded_ = false;
};

}  // namespace tessaly::dap
