#pragma once

#include <functional>
#include <map>
#include <string>

#include "dap/Outbox.h"

namespace tessaly::dap {

// Turns a message body into a request and hands it to the handler of its
// command. A body that is not a request, an unknown command, and a handler
// that fails (a RequestError, or a JSON value of the wrong type) are answered
// with an error response, or, where there is no request to answer, with a
// console message; nothing a client sends gets further than that.
class Dispatcher {
public:
    using Handler = std::function<void(const Request&)>;

    explicit Dispatcher(Outbox& out) : out_(out) {}

    void On(const std::string& command, Handler handler) { handlers_[command] = std::move(handler); }
    // Runs after every request has been answered, whether it succeeded or not.
    void After(std::function<void()> after) { after_ = std::move(after); }

    void Dispatch(const std::string& body);
    // A framing error of the reader: said on the console.
    void FramingError(const std::string& why);

private:
    Outbox& out_;
    std::map<std::string, Handler> handlers_;
    std::function<void()> after_;
};

}  // namespace tessaly::dap
