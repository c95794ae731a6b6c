#include "dap/Dispatcher.h"

#include "dap/Arguments.h"

namespace tessaly::dap {

void Dispatcher::FramingError(const std::string& why) {
    out_.Output("console", "tessaly-dap: a message was dropped: " + why + "\n");
}

void Dispatcher::Dispatch(const std::string& body) {
    const nlohmann::json message = nlohmann::json::parse(body, nullptr, false);
    if (message.is_discarded() || !message.is_object()) {
        out_.Output("console", "tessaly-dap: a message that is not a JSON object was dropped\n");
        return;
    }
    Request request;
    const auto seq = message.find("seq");
    if (seq != message.end() && seq->is_number_integer()) request.seq = seq->get<std::int64_t>();
    const auto type = message.find("type");
    if (type == message.end() || *type != "request") {
        // Responses to reverse requests and events from a client need no answer.
        if (type == message.end() || !type->is_string()) {
            out_.Output("console", "tessaly-dap: a message without a type was dropped\n");
        }
        return;
    }
    const auto command = message.find("command");
    if (command == message.end() || !command->is_string()) {
        request.command = "unknown";
        out_.Fail(request, "A request without a command");
        return;
    }
    request.command = command->get<std::string>();
    const auto arguments = message.find("arguments");
    if (arguments != message.end() && !arguments->is_null()) {
        if (!arguments->is_object()) {
            out_.Fail(request, "The arguments of '" + request.command + "' are not an object");
            return;
        }
        request.arguments = *arguments;
    }
    const auto handler = handlers_.find(request.command);
    if (handler == handlers_.end()) {
        out_.Fail(request, "Unknown request '" + request.command + "'");
        if (after_) after_();
        return;
    }
    try {
        handler->second(request);
    } catch (const RequestError& error) {
        out_.Fail(request, error.what());
    } catch (const nlohmann::json::exception& error) {
        out_.Fail(request, std::string("Bad arguments for '") + request.command + "': " + error.what());
    }
    if (after_) after_();
}

}  // namespace tessaly::dap
