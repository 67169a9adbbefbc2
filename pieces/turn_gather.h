// Gathering a free turn's words: the step that rendering a piece at an angle spends most of its time in.
#pragma once
#include <cstdint>

namespace turn_gather {

// A value with 32 fraction bits rounded to a whole number, halves away from zero.
inline int64_t fixed_round(int64_t v) { return (v + (int64_t(1) << 31) + (v >> 63)) >> 32; }

// out[k] = centre[fixed_round(a + k c) - fixed_round(b + k s) * stride] for k in [0, n): a run of view words whose
// sources all lie inside the image. Eight words at a time where the processor gathers them in one instruction.
void run(const uint32_t* centre, int64_t stride, int64_t a, int64_t b, int64_t c, int64_t s, uint32_t* out, int64_t n);

// The two ways run goes, open to tests that hold them to the same words: `plain` a word at a time, `wide` eight at a
// time (only where wide_available()).
void plain(const uint32_t* centre, int64_t stride, int64_t a, int64_t b, int64_t c, int64_t s, uint32_t* out,
           int64_t n);
void wide(const uint32_t* centre, int64_t stride, int64_t a, int64_t b, int64_t c, int64_t s, uint32_t* out,
          int64_t n);
bool wide_available();

}  // namespace turn_gather
