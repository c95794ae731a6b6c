#include "dap/Arguments.h"

namespace tessaly::dap {

namespace {

[[noreturn]] void Missing(const char* name) { throw RequestError(std::string("'") + name + "' is missing"); }

[[noreturn]] void Wrong(const char* name, const char* what) {
    throw RequestError(std::string("'") + name + "' must be " + what);
}

const nlohmann::json& EmptyArray() {
    static const nlohmann::json empty = nlohmann::json::array();
    return empty;
}

const nlohmann::json& EmptyObject() {
    static const nlohmann::json empty = nlohmann::json::object();
    return empty;
}

}  // namespace

const nlohmann::json* Arguments::Find(const char* name) const {
    if (!args_.is_object()) return nullptr;
    const auto found = args_.find(name);
    if (found == args_.end() || found->is_null()) return nullptr;
    return &*found;
}

std::string Arguments::String(const char* name) const {
    const auto value = OptionalString(name);
    if (!value) Missing(name);
    return *value;
}

std::optional<std::string> Arguments::OptionalString(const char* name) const {
    const nlohmann::json* value = Find(name);
    if (!value) return std::nullopt;
    if (!value->is_string()) Wrong(name, "a string");
    return value->get<std::string>();
}

std::int64_t Arguments::Integer(const char* name) const {
    const auto value = OptionalInteger(name);
    if (!value) Missing(name);
    return *value;
}

std::optional<std::int64_t> Arguments::OptionalInteger(const char* name) const {
    const nlohmann::json* value = Find(name);
    if (!value) return std::nullopt;
    if (value->is_number_integer()) return value->get<std::int64_t>();
    if (value->is_number_float()) {
        const double number = value->get<double>();
        if (number >= -9.0e15 && number <= 9.0e15 && number == static_cast<double>(static_cast<std::int64_t>(number))) {
            return static_cast<std::int64_t>(number);
        }
    }
    Wrong(name, "a whole number");
}

std::int64_t Arguments::IntegerIn(const char* name, std::int64_t lowest, std::int64_t highest,
                                  std::int64_t otherwise) const {
    const std::int64_t value = OptionalInteger(name).value_or(otherwise);
    if (value < lowest || value > highest) {
        throw RequestError(std::string("'") + name + "' must be from " + std::to_string(lowest) + " to " +
                           std::to_string(highest));
    }
    return value;
}

bool Arguments::Boolean(const char* name, bool otherwise) const {
    const nlohmann::json* value = Find(name);
    if (!value) return otherwise;
    if (!value->is_boolean()) Wrong(name, "true or false");
    return value->get<bool>();
}

const nlohmann::json& Arguments::Array(const char* name) const {
    const nlohmann::json* value = Find(name);
    if (!value) return EmptyArray();
    if (!value->is_array()) Wrong(name, "a list");
    return *value;
}

const nlohmann::json& Arguments::Object(const char* name) const {
    const nlohmann::json* value = Find(name);
    if (!value) return EmptyObject();
    if (!value->is_object()) Wrong(name, "an object");
    return *value;
}

}  // namespace tessaly::dap
