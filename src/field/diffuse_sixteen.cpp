#include "field/diffuse_cells.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qv::diffusion {

#if defined(__SSE2__)

namespace {

constexpr int32_t kLanes = 16;

__m128i load(const uint8_t* bytes) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)); }

// All ones in the lanes whose kind holds a bead (2 or more, compared without sign).
__m128i beads(const uint8_t* kinds) {
    const __m128i kind = load(kinds);
    return _mm_cmpeq_epi8(_mm_max_epu8(kind, _mm_set1_epi8(2)), kind);
}

// Twice the signed distance from b to a on the ring of 128 hues, as signed bytes.
__m128i ringDifference(__m128i a, __m128i b) {
    const __m128i difference = _mm_sub_epi8(a, b);
    return _mm_add_epi8(difference, difference);
}

// Signed bytes widened to 16 bits, the low and the high eight lanes.
__m128i widenLow(__m128i bytes) { return _mm_srai_epi16(_mm_unpacklo_epi8(bytes, bytes), 8); }
__m128i widenHigh(__m128i bytes) { return _mm_srai_epi16(_mm_unpackhi_epi8(bytes, bytes), 8); }

// |value| > limit for signed bytes; -128 counts as 128.
__m128i beyond(__m128i value, int8_t limit) {
    return _mm_or_si128(_mm_cmpgt_epi8(value, _mm_set1_epi8(limit)),
                        _mm_cmplt_epi8(value, _mm_set1_epi8(static_cast<int8_t>(-limit))));
}

// Sixteen neighbour pulls added up in two halves of 16-bit sums.
struct PullSums {
    __m128i low = _mm_setzero_si128();
    __m128i high = _mm_setzero_si128();
    void add(__m128i pulls) {
        low = _mm_add_epi16(low, widenLow(pulls));
        high = _mm_add_epi16(high, widenHigh(pulls));
    }
};

// The sixteen cells from `first`: writes their front bytes and returns a bit per cell (bit 0 the
// leftmost) that arms a sparkle.
uint32_t sixteenCells(const Planes& planes, int32_t first) {
    const uint8_t* hues = planes.backHues + first;
    const uint8_t* kinds = planes.backKinds + first;
    const int32_t below = planes.below;
    const __m128i hue = load(hues);
    const __m128i right = beads(kinds + 1);
    const __m128i left = beads(kinds - 1);
    const __m128i down = beads(kinds + below);
    const __m128i up = beads(kinds - below);

    // A side neighbour pulls, and the cell beyond it too when both hold beads.
    PullSums sum;
    sum.add(_mm_and_si128(right, ringDifference(load(hues + 1), hue)));
    sum.add(_mm_and_si128(_mm_and_si128(right, beads(kinds + 2)), ringDifference(load(hues + 2), hue)));
    sum.add(_mm_and_si128(left, ringDifference(load(hues - 1), hue)));
    sum.add(_mm_and_si128(_mm_and_si128(left, beads(kinds - 2)), ringDifference(load(hues - 2), hue)));
    sum.add(_mm_and_si128(down, ringDifference(load(hues + below), hue)));
    sum.add(_mm_and_si128(up, ringDifference(load(hues - below), hue)));

    const __m128i threshold = _mm_set1_epi16(5);
    const __m128i negativeThreshold = _mm_set1_epi16(-5);
    const __m128i raise = _mm_packs_epi16(_mm_cmpgt_epi16(sum.low, threshold), _mm_cmpgt_epi16(sum.high, threshold));
    const __m128i lower =
        _mm_packs_epi16(_mm_cmplt_epi16(sum.low, negativeThreshold), _mm_cmplt_epi16(sum.high, negativeThreshold));
    const __m128i bead = beads(kinds);
    const __m128i steps = _mm_and_si128(bead, _mm_or_si128(raise, lower));
    // raise is -1 where the hue goes up, lower -1 where it goes down: hue - raise + lower.
    const __m128i stepped = _mm_and_si128(_mm_add_epi8(_mm_sub_epi8(hue, raise), lower), _mm_set1_epi8(kHueCount - 1));
    const __m128i frontHue = _mm_or_si128(_mm_and_si128(steps, stepped), _mm_andnot_si128(steps, hue));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(planes.hues + first), frontHue);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(planes.kinds + first), load(kinds));

    const __m128i surrounded = _mm_and_si128(_mm_and_si128(right, left), _mm_and_si128(down, up));
    const __m128i steep = _mm_and_si128(beyond(ringDifference(load(hues + 1), load(hues - 1)), 32),
                                        beyond(ringDifference(load(hues + below), load(hues - below)), 64));
    const __m128i arms = _mm_andnot_si128(steps, _mm_and_si128(_mm_and_si128(bead, surrounded), steep));
    return static_cast<uint32_t>(_mm_movemask_epi8(arms));
}

}  // namespace

bool sixteenAtOnceAvailable() { return true; }

void cellsSixteenAtOnce(const Planes& planes, int32_t first, int32_t last, SparkleSlots& sparkles) {
    int32_t end = last;
    for (; end - (kLanes - 1) >= first; end -= kLanes) {
        const int32_t start = end - (kLanes - 1);
        // Arming reads nothing that diffusion writes, so the crossings of sixteen cells are found
        // together and then armed right to left, as the one-by-one sweep arms them.
        for (uint32_t arms = sixteenCells(planes, start); arms != 0;) {
            const int32_t lane = 31 - __builtin_clz(arms);
            armSparkle(sparkles, start + lane);
            arms &= ~(1u << lane);
        }
    }
    if (end >= first) {
        cellsOneByOne(planes, first, end, sparkles);
    }
}

#else

bool sixteenAtOnceAvailable() { return false; }

void cellsSixteenAtOnce(const Planes& planes, int32_t first, int32_t last, SparkleSlots& sparkles) {
    cellsOneByOne(planes, first, last, sparkles);
}

#endif

}  // namespace qv::diffusion
