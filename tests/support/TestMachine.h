#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "core/MessageHost.h"
#include "core/Processor.h"

namespace tessaly::test {

// A freshly reset processor on the heap (it holds over 300 KB of memories).
inline std::unique_ptr<Processor> NewProcessor() { return std::make_unique<Processor>(); }

// Puts bytes into code memory starting at `address`.
inline void LoadCode(Processor& p, std::uint32_t address, std::initializer_list<std::uint8_t> bytes) {
    for (std::uint8_t b : bytes) p.ucCodeMemory[address++] = b;
}

inline void LoadCode(Processor& p, std::uint32_t address, const std::vector<std::uint8_t>& bytes) {
    for (std::uint8_t b : bytes) p.ucCodeMemory[address++] = b;
}

inline bool Flag(const Processor& p, std::uint8_t mask) { return (p.ucIntRAM[sfr::PSW] & mask) != 0; }

// Records every message and answers questions from a queue (Yes when empty).
class MessageRecorder : public MessageHost {
public:
    struct Entry {
        MessageKind kind;
        std::string text;
        bool question;
    };

    void Tell(MessageKind kind, const std::string& text) override {
        entries.push_back({kind, text, false});
        if (onMessage) onMessage(entries.back());
    }
    bool AskYesNo(MessageKind kind, const std::string& text) override {
        entries.push_back({kind, text, true});
        if (onMessage) onMessage(entries.back());
        if (answers.empty()) return true;
        const bool answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }

    std::vector<Entry> entries;
    std::vector<bool> answers;
    // Called with every message as it is told or asked.
    std::function<void(const Entry&)> onMessage;
};

}  // namespace tessaly::test
