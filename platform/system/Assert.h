#pragma once
// METRONOME_ASSERT(condition) guards an internal invariant: a condition that no input can
// make false, only a fault in this code. It is active in Debug builds and in the
// sanitizer build of the tests (METRONOME_ASSERTS=1), where a broken invariant names the
// condition and its place on stderr and aborts. Elsewhere it compiles to nothing and the
// condition is not evaluated, so a check may cost time.

#if METRONOME_ASSERTS
#define METRONOME_ASSERT(condition) \
    ((condition) ? (void)0 : ::plat::AssertionFailed(#condition, __FILE__, __LINE__))
#else
// sizeof keeps the names in the condition used without evaluating them.
#define METRONOME_ASSERT(condition) ((void)sizeof(!(condition)))
#endif

namespace plat {

[[noreturn]] void AssertionFailed(const char* condition, const char* file, int line);

} // namespace plat
