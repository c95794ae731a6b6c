#pragma once

#include <string>

#include "core/MessageHost.h"

namespace tessaly::fuzz {

// Swallows every message and answers Yes: the fuzzers check results, not texts.
class SilentMessages : public MessageHost {
public:
    void Tell(MessageKind, const std::string&) override {}
    bool AskYesNo(MessageKind, const std::string&) override { return true; }
};

}  // namespace tessaly::fuzz
