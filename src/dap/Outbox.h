#pragma once

#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "dap/Channel.h"

namespace tessaly::dap {

// The request a response answers.
struct Request {
    std::int64_t seq = 0;
    std::string command;
    nlohmann::json arguments = nlohmann::json::object();
};

// Everything the adapter sends: responses and events, numbered in the order
// they leave, each framed with its Content-Length header.
class Outbox {
public:
    explicit Outbox(Channel& channel) : channel_(channel) {}

    void Respond(const Request& request, nlohmann::json body = nlohmann::json::object());
    // A failed request: `message` is what the client shows.
    void Fail(const Request& request, const std::string& message);
    void Event(const std::string& name, nlohmann::json body = nlohmann::json::object());
    // An output event of `category` ("console", "stdout", "stderr").
    void Output(const std::string& category, const std::string& text);

    // False once a write has failed: the client is gone.
    bool Connected() const { return connected_; }

private:
    void Send(nlohmann::json message);

    Channel& channel_;
    std::int64_t seq_ = 1;
    bool connected_ = true;
};

// One framed message: the header and the body.
std::string Frame(const std::string& body);

}  // namespace tessaly::dap
