#include "dap/Outbox.h"

namespace tessaly::dap {

std::string Frame(const std::string& body) {
    return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

void Outbox::Send(nlohmann::json message) {
    message["seq"] = seq_++;
    // Texts from files and the program are not always UTF-8: such bytes are
    // replaced rather than stopping the message.
    const std::string body = message.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    if (connected_ && !channel_.Write(Frame(body))) connected_ = false;
}

void Outbox::Respond(const Request& request, nlohmann::json body) {
    Send({{"type", "response"},
          {"request_seq", request.seq},
          {"command", request.command},
          {"success", true},
          {"body", std::move(body)}});
}

void Outbox::Fail(const Request& request, const std::string& message) {
    Send({{"type", "response"},
          {"request_seq", request.seq},
          {"command", request.command},
          {"success", false},
          {"message", message},
          {"body", {{"error", {{"id", 1}, {"format", message}, {"showUser", true}}}}}});
}

void Outbox::Event(const std::string& name, nlohmann::json body) {
    Send({{"type", "event"}, {"event", name}, {"body", std::move(body)}});
}

void Outbox::Output(const std::string& category, const std::string& text) {
    Event("output", {{"category", category}, {"output", text}});
}

}  // namespace tessaly::dap
