#include "core/JumpRoutines.h"

#include <string>

#include "core/EngineAccess.h"
#include "core/Messages.h"

namespace tessaly::jump_detail {

void ReportInvalidStatus(Processor& p, int routine) {
    static constexpr std::string_view kPrefixes[] = {messages::kInvalidRelativeJumpStatus,
                                                     messages::kInvalidJumpStatus, messages::kInvalidCallStatus};
    std::string text(kPrefixes[routine]);
    text += std::to_string(p.ucExecutionStatus);
    text += " )";
    PostError(p, text);
}

}  // namespace tessaly::jump_detail
