#include "analysis/Workspace.h"

namespace tessaly {

Workspace::Workspace() { ResetLabels(); }

void Workspace::ResetLabels() {
    for (TextList* list : {&lstCodeLabels, &lstBitLabels, &lstNumberLabels}) *list = Unlabelled();
}

const TextList& Workspace::Unlabelled() {
    static const TextList unlabelled = [] {
        TextList fresh;
        for (std::size_t i = 0; i < kLabelCount; ++i) fresh.Append(kNoLabel);
        return fresh;
    }();
    return unlabelled;
}

}  // namespace tessaly
