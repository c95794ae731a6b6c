#pragma once

#include <map>
#include <string>

#include "core/TextList.h"

namespace tessaly::test {

// The labelled entries of a label list, value to name; every other entry is "~".
inline std::map<unsigned, std::string> Labelled(const TextList& list) {
    std::map<unsigned, std::string> labels;
    for (std::size_t v = 0; v < list.Count(); ++v) {
        if (list[v] != "~") labels.emplace(static_cast<unsigned>(v), list[v]);
    }
    return labels;
}

}  // namespace tessaly::test
