#pragma once

#include <functional>
#include <string>

#include "dap/Arguments.h"
#include "dap/CollectedMessages.h"
#include "dap/Outbox.h"
#include "session/Session.h"

namespace tessaly::dap {

// What the request handlers share: the session they drive, where answers go,
// the session's collected messages and the state of the debugging session.
struct AdapterContext {
    AdapterContext(Outbox& outbox, CollectedMessages& collected, Session& s)
        : out(outbox), messages(collected), session(s) {}

    Outbox& out;
    CollectedMessages& messages;
    Session& session;

    bool launched = false;
    // A run or step is under way: requests arrive between its slices.
    bool busy = false;
    // The program has ended (terminate, or its final self-loop) or the
    // client has disconnected.
    bool terminated = false;
    bool quit = false;
    // Reads and dispatches the requests that have arrived, without waiting.
    std::function<void()> pollRequests;

    // The session of a launched program that is not running; otherwise a
    // RequestError that says why the request cannot be served now.
    Session& Stopped() const {
        if (!launched) throw RequestError("No program is launched");
        if (busy) throw RequestError("The program is running; pause it first");
        return session;
    }
    // The session's messages since the last take, one per line (empty when
    // there were none).
    std::string TakeMessages() {
        std::string text;
        for (const std::string& line : messages.Take()) text += (text.empty() ? "" : "\n") + line;
        return text;
    }
    // The messages as console output.
    void SayMessages() {
        for (const std::string& line : messages.Take()) out.Output("console", line + "\n");
    }
};

}  // namespace tessaly::dap
