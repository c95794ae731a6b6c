#pragma once

#include <ostream>
#include <string>

#include "core/MessageHost.h"

namespace tessaly::cli {

// Messages the desktop shows in boxes go to stderr with their exact texts;
// questions are answered Yes, so a script never waits.
class StderrHost : public MessageHost {
public:
    explicit StderrHost(std::ostream& out) : out_(out) {}
    void Tell(MessageKind, const std::string& text) override { out_ << text << '\n'; }
    bool AskYesNo(MessageKind, const std::string& text) override {
        out_ << text << " Yes\n";
        return true;
    }

private:
    std::ostream& out_;
};

}  // namespace tessaly::cli
