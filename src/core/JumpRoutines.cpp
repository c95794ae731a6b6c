#include "core/JumpRoutines.h"

#include <string>

#include "core/Messages.h"

namespace tessaly::jump_detail {

void ReportInvalidStatus(Processor& p, int routine) {
    static constexpr std::string_view kPrefixes[] = {messages::kInvalidRelativeJumpStatus,
                                                     messages::kInvalidJumpStatus, messages::kInvalidCallStatus};
    std::string text(kPrefixes[routine]);
    text += std::to_string(p.ucExecutionStatus);
    text += " )";
    p.lstErrors.Append(text);
}

}  // namespace tessaly::jump_detail
