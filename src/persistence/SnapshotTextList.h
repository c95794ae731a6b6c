#pragma once

#include <ostream>

#include "core/TextList.h"
#include "persistence/SnapshotInput.h"

namespace tessaly {

// A text list in a snapshot: the length n of its text (every entry followed
// by CR LF) as an unsigned 32-bit number, then, when n is not 0, the n bytes
// and a zero byte.
void WriteTextList(std::ostream& out, const TextList& list);

// Replaces the list's entries with those stored; the text ends at its first
// zero byte. A list whose length or text the input does not hold whole ends
// empty and the call returns false.
bool ReadTextList(SnapshotInput& in, TextList& list);

}  // namespace tessaly
