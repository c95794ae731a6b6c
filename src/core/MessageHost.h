#pragma once

#include <string>

namespace tessaly {

enum class MessageKind { Plain, Error, Information, Warning, Confirmation };

// Where the logic sends the messages and questions a user must see. The GUI
// answers with message boxes, the headless runner with stderr, tests with a
// recorder; the logic never knows which.
class MessageHost {
public:
    virtual ~MessageHost() = default;
    // A message with an OK button.
    virtual void Tell(MessageKind kind, const std::string& text) = 0;
    // A question with Yes and No buttons; true for Yes.
    virtual bool AskYesNo(MessageKind kind, const std::string& text) = 0;
};

}  // namespace tessaly
