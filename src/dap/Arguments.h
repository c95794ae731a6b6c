#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

namespace tessaly::dap {

// A request that cannot be carried out; the text is the error response's
// message.
class RequestError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Typed reads of a request's arguments, each failing with a message that
// names the argument: "'program' is missing", "'line' must be a number".
class Arguments {
public:
    explicit Arguments(const nlohmann::json& arguments) : args_(arguments) {}

    const nlohmann::json* Find(const char* name) const;
    std::string String(const char* name) const;
    std::optional<std::string> OptionalString(const char* name) const;
    std::int64_t Integer(const char* name) const;
    std::optional<std::int64_t> OptionalInteger(const char* name) const;
    // A whole number from `lowest` to `highest`; `otherwise` when absent.
    std::int64_t IntegerIn(const char* name, std::int64_t lowest, std::int64_t highest, std::int64_t otherwise) const;
    bool Boolean(const char* name, bool otherwise) const;
    // An array argument; an empty one when it is absent.
    const nlohmann::json& Array(const char* name) const;
    const nlohmann::json& Object(const char* name) const;

private:
    const nlohmann::json& args_;
};

}  // namespace tessaly::dap
