#include "analysis/Workspace.h"

namespace tessaly {

Workspace::Workspace() { ResetLabels(); }

void Workspace::ResetLabels() {
    for (TextList* list : {&lstCodeLabels, &lstBitLabels, &lstNumberLabels}) {
        list->Clear();
        for (std::size_t i = 0; i < kLabelCount; ++i) list->Append(kNoLabel);
    }
}

}  // namespace tessaly
