#include "dap/Capabilities.h"

namespace tessaly::dap {

nlohmann::json Capabilities() {
    return {
        {"supportsConfigurationDoneRequest", true},
        {"supportsFunctionBreakpoints", true},
        {"supportsInstructionBreakpoints", true},
        {"supportsSetVariable", true},
        {"supportsEvaluateForHovers", true},
        {"supportsReadMemoryRequest", true},
        {"supportsWriteMemoryRequest", true},
        {"supportsDisassembleRequest", true},
        {"supportsSteppingGranularity", false},
        {"supportsLoadedSourcesRequest", true},
        {"supportsTerminateRequest", true},
        {"supportsValueFormattingOptions", true},
        {"supportsDelayedStackTraceLoading", true},
        {"supportsConditionalBreakpoints", true},
        {"supportsHitConditionalBreakpoints", true},
        {"supportsDataBreakpoints", true},
        {"supportsRestartRequest", false},
        {"supportsStepBack", true},
        {"supportTerminateDebuggee", false},
        {"exceptionBreakpointFilters", nlohmann::json::array()},
    };
}

}  // namespace tessaly::dap
