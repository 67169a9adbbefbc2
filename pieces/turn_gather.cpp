// The free turn's gather, plain and with 512-bit vectors (chosen when the program starts).
#include "pieces/turn_gather.h"

#include <immintrin.h>

namespace turn_gather {

void plain(const uint32_t* centre, int64_t stride, int64_t a, int64_t b, int64_t c, int64_t s, uint32_t* out,
           int64_t n) {
    for (int64_t k = 0; k < n; ++k, a += c, b += s) out[k] = centre[fixed_round(a) - fixed_round(b) * stride];
}

// GCC 12's 512-bit headers trip its own uninitialised-value warning on _mm512_set1_epi64.
#if !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
namespace {
__attribute__((target("avx512f,avx512dq,avx512vl"))) __m512i fixed_round8(__m512i v) {
    const __m512i half = _mm512_set1_epi64(int64_t(1) << 31);
    return _mm512_srai_epi64(_mm512_add_epi64(_mm512_add_epi64(v, half), _mm512_srai_epi64(v, 63)), 32);
}
}  // namespace

__attribute__((target("avx512f,avx512dq,avx512vl"))) void wide(const uint32_t* centre, int64_t stride, int64_t a,
                                                             int64_t b, int64_t c, int64_t s, uint32_t* out,
                                                             int64_t n) {
    const __m512i lane = _mm512_set_epi64(7, 6, 5, 4, 3, 2, 1, 0);
    __m512i va = _mm512_add_epi64(_mm512_set1_epi64(a), _mm512_mullo_epi64(lane, _mm512_set1_epi64(c)));
    __m512i vb = _mm512_add_epi64(_mm512_set1_epi64(b), _mm512_mullo_epi64(lane, _mm512_set1_epi64(s)));
    const __m512i c8 = _mm512_set1_epi64(8 * c), s8 = _mm512_set1_epi64(8 * s), rows = _mm512_set1_epi64(stride);
    for (int64_t k = 0; k < n; k += 8) {
        // The last words of a run that is not a whole number of eights are gathered and stored under a mask:
        // lanes beyond the run read and write nothing.
        const __mmask8 lanes = n - k >= 8 ? 0xFF : __mmask8((1u << (n - k)) - 1);
        const __m512i at = _mm512_sub_epi64(fixed_round8(va), _mm512_mullo_epi64(fixed_round8(vb), rows));
        const __m256i words = _mm512_mask_i64gather_epi32(_mm256_setzero_si256(), lanes, at, centre, 4);
        _mm256_mask_storeu_epi32(out + k, lanes, words);
        va = _mm512_add_epi64(va, c8);
        vb = _mm512_add_epi64(vb, s8);
    }
}
#if !defined(__clang__)
#pragma GCC diagnostic pop
#endif

bool wide_available() {
    __builtin_cpu_init();  // may run before the program's constructors have set the processor's features up
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
           __builtin_cpu_supports("avx512vl");
}

namespace {
const auto chosen = wide_available() ? wide : plain;
}  // namespace

void run(const uint32_t* centre, int64_t stride, int64_t a, int64_t b, int64_t c, int64_t s, uint32_t* out,
         int64_t n) {
    chosen(centre, stride, a, b, c, s, out, n);
}

}  // namespace turn_gather
