#include <utility>

#include "core/InstructionStep.h"
#include "core/OpcodeHandlers.h"

namespace tessaly {

namespace {

// Each option changes the steps of a few opcodes only; the others are the
// same functions in every table. With the serial port wired, only the
// instructions that may reach SBUF through a direct address need a step of
// their own.
constexpr auto kOpcodes = std::make_index_sequence<256>{};

// Watch: 0 none, else the kinds of access noted (1 reads, 2 writes, 3 both).
template <bool WiredSerial, bool PagedXram, std::uint8_t Watch, std::size_t... Opcodes>
constexpr std::array<InstructionStep, 256> StepTable(std::index_sequence<Opcodes...>) {
    constexpr const auto& handlers = kHandlersFor<PagedXram>;
    return {ExecuteStep<static_cast<std::uint8_t>(Opcodes), handlers[Opcodes],
                        WiredSerial && TouchesDirectSbuf(static_cast<std::uint8_t>(Opcodes)), Watch != 0, PagedXram,
                        Watch>...};
}

}  // namespace

const std::array<InstructionStep, 256> kStepTables[2][2][4] = {
    {{StepTable<false, false, 0>(kOpcodes), StepTable<false, false, 1>(kOpcodes), StepTable<false, false, 2>(kOpcodes),
      StepTable<false, false, 3>(kOpcodes)},
     {StepTable<false, true, 0>(kOpcodes), StepTable<false, true, 1>(kOpcodes), StepTable<false, true, 2>(kOpcodes),
      StepTable<false, true, 3>(kOpcodes)}},
    {{StepTable<true, false, 0>(kOpcodes), StepTable<true, false, 1>(kOpcodes), StepTable<true, false, 2>(kOpcodes),
      StepTable<true, false, 3>(kOpcodes)},
     {StepTable<true, true, 0>(kOpcodes), StepTable<true, true, 1>(kOpcodes), StepTable<true, true, 2>(kOpcodes),
      StepTable<true, true, 3>(kOpcodes)}},
};

}  // namespace tessaly
