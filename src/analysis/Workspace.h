#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/TextList.h"

namespace tessaly {

// The user's working context around the one Processor: the labels imported
// from an assembler listing (and, later, the opened-files history).
class Workspace {
public:
    // Every label list holds one entry per 16-bit value, so any value indexes it.
    static constexpr std::size_t kLabelCount = 65536;
    // Entry text that means "no label for this value".
    static constexpr std::string_view kNoLabel = "~";

    Workspace();

    // Empties the three label lists and refills each with kLabelCount "~".
    void ResetLabels();
    // A list of kLabelCount "~", built once: copying it is one block copy
    // instead of 65536 appends.
    static const TextList& Unlabelled();

    TextList lstCodeLabels;    // entry v: name of code address v
    TextList lstBitLabels;     // entry v: name of bit address v
    TextList lstNumberLabels;  // entry v: name of number v (direct addresses, immediate data)
    // Non-zero (1): number operands print with three hex digits; 0: with five.
    std::uint8_t bByteNumbers = 1;

    // Paths of the programs opened last, newest first (see persistence/History.h).
    TextList lstOpenedFiles;
};

}  // namespace tessaly
