#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/CType.h"

namespace tessaly {

struct CMember {
    std::string name;
    std::size_t offset = 0;  // bytes from the start of the struct
    CType type;
};

// One T: record. The file does not tell a union from a struct; a record of
// two or more members that all start at offset 0 is taken for a union.
struct CStruct {
    std::string module;
    std::string tag;
    bool isUnion = false;
    std::size_t size = 0;  // the end of its furthest member
    std::vector<CMember> members;

    const CMember* MemberNamed(std::string_view name) const {
        for (const CMember& member : members) {
            if (member.name == name) return &member;
        }
        return nullptr;
    }
};

}  // namespace tessaly
