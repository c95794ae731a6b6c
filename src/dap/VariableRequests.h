#pragma once

#include <optional>
#include <string>
#include <vector>

#include "dap/AdapterContext.h"
#include "dap/Dispatcher.h"
#include "dap/StackRequests.h"
#include "dap/VariableHandles.h"

namespace tessaly::dap {

// scopes, variables, setVariable and evaluate: the C variables of a frame
// and of the program, the registers, the SFRs with their bits and the
// interrupts in progress; C expressions of one variable and location names
// as the General Read dialog takes them.
class VariableRequests {
public:
    VariableRequests(AdapterContext& context, StackRequests& stack) : c_(context), stack_(stack) {}
    void Register(Dispatcher& dispatcher);
    void Forget() { handles_.Clear(); }

private:
    // One variable as listed, with what a write to it needs.
    struct Entry {
        nlohmann::json json;
        std::optional<CObject> object;      // a C value
        std::optional<Location> location;   // a register, bit or cell
        std::optional<int> registerBit;     // a bit of a register that has no bit addresses
        std::optional<Location> ofRegister;
    };

    void Scopes(const Request& request);
    void Variables(const Request& request);
    void SetVariable(const Request& request);
    void Evaluate(const Request& request);
    void DataBreakpointInfo(const Request& request);

    std::vector<Entry> EntriesOf(const Container& container, bool hex);
    Entry CEntry(const std::string& name, const CObject& object, const std::string& evaluateName, const CFrame& frame,
                 bool hex);
    Entry LocationEntry(const std::string& name, const Location& location);
    std::vector<Entry> BitsOf(const Location& location);
    std::string WriteEntry(const Entry& entry, const std::string& value);

    AdapterContext& c_;
    StackRequests& stack_;
    VariableHandles handles_;
};

}  // namespace tessaly::dap
