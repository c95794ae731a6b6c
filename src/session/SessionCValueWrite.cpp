#include "control/CValueWrite.h"
#include "session/Session.h"

namespace tessaly {

// The C windows' edits take the same path as the other views' writes: the
// location layer underneath, then every view brought up to date.
std::string Session::WriteCValue(const CObject& object, std::string_view text) {
    std::string refused = tessaly::WriteCValue(*processor_, workspace, object, text);
    if (refused.empty()) {
        history_.NoteChange(*processor_);
        controller_.RefreshViews();
    }
    return refused;
}

}  // namespace tessaly
