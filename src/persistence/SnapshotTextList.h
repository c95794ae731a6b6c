#pragma once

#include <ostream>
#include <string>

#include "core/TextList.h"
#include "persistence/SnapshotInput.h"

namespace tessaly {

// A text list in a snapshot: the length n of its text (every entry followed
// by CR LF) as an unsigned 32-bit number, then, when n is not 0, the n bytes
// and a zero byte.
void WriteListText(std::ostream& out, const std::string& text);

// The stored text, up to its first zero byte. A text whose length or bytes
// the input does not hold whole comes back empty and the call returns false.
bool ReadListText(SnapshotInput& in, std::string& text);

// Any list of lines with Text(), Clear() and SetText(): TextList, and the
// executed-instruction history.
template <class Lines>
void WriteTextList(std::ostream& out, const Lines& list) {
    WriteListText(out, list.Text());
}

// Replaces the list's entries with those stored; a list the input does not
// hold whole ends empty and the call returns false.
template <class Lines>
bool ReadTextList(SnapshotInput& in, Lines& list) {
    std::string text;
    const bool whole = ReadListText(in, text);
    list.SetText(text);
    return whole;
}

}  // namespace tessaly
