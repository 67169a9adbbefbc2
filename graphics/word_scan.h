// Where a row of 32-bit words stops being alike: four words per vector compare, the compare's mask telling which of
// the four ends the run, so no word is looked at twice. Used by the flood fill and by a piece's kept-box scans.
#pragma once
#include <bit>
#include <cstdint>

#include <emmintrin.h>

namespace word_scan {

// Bit k set when word k of the four differs from the run: (word & mask) == value is not `equal`. The mask and the
// sense are template arguments so that each scan compiles to its own tight loop.
template <uint32_t mask, bool equal>
uint32_t differ4(const uint32_t* four, uint32_t value) {
    const __m128i v = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(four)), _mm_set1_epi32(int(mask)));
    const uint32_t same = uint32_t(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(v, _mm_set1_epi32(int(value))))));
    return (equal ? ~same : same) & 0xF;
}

// The first x in [from, limit) where (row[x] & mask) == value is not `equal`, or limit.
template <uint32_t mask, bool equal>
int32_t first_differing(const uint32_t* row, int32_t from, int32_t limit, uint32_t value) {
    int32_t x = from;
    for (; x + 4 <= limit; x += 4)
        if (const uint32_t d = differ4<mask, equal>(row + x, value)) return x + std::countr_zero(d);
    if (x == limit) return x;
    if (limit - from >= 4) {  // the last four words as one block again (those already looked at are alike)
        const uint32_t d = differ4<mask, equal>(row + limit - 4, value);
        return d ? limit - 4 + std::countr_zero(d) : limit;
    }
    while (x < limit && ((row[x] & mask) == value) == equal) ++x;
    return x;
}

// The last x in [0, end) where (row[x] & mask) == value is not `equal`, or -1.
template <uint32_t mask, bool equal>
int32_t last_differing(const uint32_t* row, int32_t end, uint32_t value) {
    int32_t x = end;
    for (; x >= 4; x -= 4)
        if (const uint32_t d = differ4<mask, equal>(row + x - 4, value)) return x - 4 + 31 - std::countl_zero(d);
    if (x == 0) return -1;
    if (end >= 4) {  // words 0 .. 3 as one block again (those already looked at are alike)
        const uint32_t d = differ4<mask, equal>(row, value);
        return d ? 31 - std::countl_zero(d) : -1;
    }
    while (x > 0 && ((row[x - 1] & mask) == value) == equal) --x;
    return x - 1;
}

}  // namespace word_scan
