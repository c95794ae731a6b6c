#pragma once

namespace tessaly::fuzz {

// A property the input broke: stops the run where libFuzzer reports it,
// in every build (an assert would vanish with NDEBUG).
inline void Check(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace tessaly::fuzz
