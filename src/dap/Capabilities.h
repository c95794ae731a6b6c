#pragma once

#include <nlohmann/json.hpp>

namespace tessaly::dap {

// The initialize response's body: the requests and features the adapter
// serves beyond the protocol's base.
nlohmann::json Capabilities();

}  // namespace tessaly::dap
