#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/MessageHost.h"

namespace tessaly::dap {

// The session's messages, with the texts the desktop shows in its boxes,
// kept until the adapter passes them on: in the error response of the
// request that caused them, or as console output. Questions are answered
// Yes, as the headless runner answers them, so no request ever waits.
class CollectedMessages final : public MessageHost {
public:
    void Tell(MessageKind, const std::string& text) override { texts_.push_back(text); }
    bool AskYesNo(MessageKind, const std::string& text) override {
        texts_.push_back(text + " Yes");
        return true;
    }

    bool Empty() const { return texts_.empty(); }
    // Every text since the last Take, one per line, and forgets them.
    std::vector<std::string> Take() { return std::exchange(texts_, {}); }

private:
    std::vector<std::string> texts_;
};

}  // namespace tessaly::dap
