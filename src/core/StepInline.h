#pragma once

// The instruction handlers and the fast engine's per-opcode steps are forced
// inline into the run loops, for speed. The sanitizer and fuzz builds check
// behaviour, not speed: there the handlers are left to the compiler and each
// fast step stays a function of its own, which builds the engine in a
// fraction of the time.
#ifdef TESSALY_CHECKED_BUILD
#define TESSALY_STEP_INLINE
#define TESSALY_FAST_STEP_INLINE [[gnu::noinline]]
#else
#define TESSALY_STEP_INLINE [[gnu::always_inline]]
#define TESSALY_FAST_STEP_INLINE [[gnu::always_inline]]
#endif
