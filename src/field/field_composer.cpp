#include "field/field_composer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "field/sand_field.h"
#include "image/frame_target.h"
#include "image/image_layer.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qv {

namespace {

constexpr int32_t kTileSide = 4;
constexpr int32_t kCellsPerWord = 8;
constexpr int32_t kDrawnTileBytes = kTileSide * kTileRowBytes;  // the four rows a tile shows
constexpr int32_t kWideRowBytes = 16;  // a tile's row and the first pixel of its right neighbour's
static_assert(kTileBytes >= 3 * kTileRowBytes + kWideRowBytes, "a wide copy of a tile's last row stays in the tile");

constexpr std::array<uint8_t, kCellsPerWord> kNothing{};


// The eight bytes from a and from b, XORed: a byte is 0 exactly where the two agree.
uint64_t changedBytes(const uint8_t* a, const uint8_t* b) {
    uint64_t first;
    uint64_t second;
    std::memcpy(&first, a, sizeof first);
    std::memcpy(&second, b, sizeof second);
    return first ^ second;
}

// Copies a tile's four rows. A tile whose right neighbour is drawn after it writes each row as 16
// bytes: the four bytes that spill into the neighbour are overwritten when the neighbour is drawn,
// and one wide copy costs less than the 8 and 4 bytes of a row. Sources hold four readable bytes
// past every row.
inline void copyTile(uint8_t* row0, uint8_t* row1, uint8_t* row2, uint8_t* row3, const uint8_t* source,
                     bool neighbourFollows) {
    if (neighbourFollows) {
        std::memcpy(row0, source, kWideRowBytes);
        std::memcpy(row1, source + kTileRowBytes, kWideRowBytes);
        std::memcpy(row2, source + 2 * kTileRowBytes, kWideRowBytes);
        std::memcpy(row3, source + 3 * kTileRowBytes, kWideRowBytes);
    } else {
        std::memcpy(row0, source, kTileRowBytes);
        std::memcpy(row1, source + kTileRowBytes, kTileRowBytes);
        std::memcpy(row2, source + 2 * kTileRowBytes, kTileRowBytes);
        std::memcpy(row3, source + 3 * kTileRowBytes, kTileRowBytes);
    }
}

// Where rendering draws nothing, the background shows: empty cells and bytes that are no cell.
// Computed without branches: which way a cell goes is as good as random, and a missed guess would
// cost more than drawing the tile.
bool showsBackground(uint8_t hue, uint8_t kind) {
    return static_cast<bool>(static_cast<int>(kind == kEmpty) | static_cast<int>(hue >= kHueCount) |
                             static_cast<int>(kind >= kKindCount));
}

#if defined(__SSE2__)

constexpr int32_t kVectorCells = 16;

__m128i loadSixteen(const uint8_t* bytes) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)); }

// A bit per cell of the sixteen from one place (bit 0 the leftmost) whose bytes changed since they
// were last drawn or whose tile was overwritten.
uint32_t sixteenChanged(const uint8_t* kinds, const uint8_t* hues, const uint8_t* shownKind, const uint8_t* shownHue,
                        const uint8_t* overwritten) {
    const __m128i same = _mm_and_si128(
        _mm_and_si128(_mm_cmpeq_epi8(loadSixteen(kinds), loadSixteen(shownKind)),
                      _mm_cmpeq_epi8(loadSixteen(hues), loadSixteen(shownHue))),
        _mm_cmpeq_epi8(loadSixteen(overwritten), _mm_setzero_si128()));
    return static_cast<uint32_t>(_mm_movemask_epi8(same)) ^ 0xFFFFu;
}

// Where sixteen cells draw from: a bit per cell that shows the background, and the tile offset of
// each cell that shows its bead (any value for the others: the bead tiles of valid cells all lie
// below 65536 bytes).
struct SixteenSources {
    uint32_t background = 0;
    alignas(16) std::array<uint16_t, kVectorCells> offsets{};
};
static_assert(tileOffset(kHueCount - 1, kKindCount - 1) <= 0xFFFF, "bead tile offsets fit 16 bits");

SixteenSources sixteenSources(const uint8_t* kinds, const uint8_t* hues) {
    const __m128i kind = loadSixteen(kinds);
    const __m128i hue = loadSixteen(hues);
    const __m128i zero = _mm_setzero_si128();
    // Empty, a hue of 128 or more (negative as a signed byte), or no kind at all (6 or more).
    const __m128i noKind = _mm_cmpeq_epi8(_mm_max_epu8(kind, _mm_set1_epi8(kKindCount)), kind);
    const __m128i background =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(kind, zero), _mm_cmplt_epi8(hue, zero)), noKind);
    SixteenSources sources;
    sources.background = static_cast<uint32_t>(_mm_movemask_epi8(background));
    // (hue * kinds + kind) * tile bytes, in 16 bits.
    const __m128i hueWeight = _mm_set1_epi16(kKindCount * kTileBytes);
    const __m128i kindWeight = _mm_set1_epi16(kTileBytes);
    const __m128i low = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(hue, zero), hueWeight),
                                      _mm_mullo_epi16(_mm_unpacklo_epi8(kind, zero), kindWeight));
    const __m128i high = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(hue, zero), hueWeight),
                                       _mm_mullo_epi16(_mm_unpackhi_epi8(kind, zero), kindWeight));
    _mm_store_si128(reinterpret_cast<__m128i*>(sources.offsets.data()), low);
    _mm_store_si128(reinterpret_cast<__m128i*>(sources.offsets.data() + 8), high);
    return sources;
}

#endif

int32_t tileIndexOf(int64_t pixel, int32_t origin, int32_t count) {
    const int64_t tile = (pixel - origin) >> 2;  // rounds towards minus infinity, like the cursor
    return static_cast<int32_t>(std::clamp<int64_t>(tile, 0, count - 1));
}

}  // namespace

bool FieldComposer::backgroundCoversField(const SandField& field, const ImageLayer& background) {
    return background.drawsWholeWindow() && background.x == field.originX() && background.y == field.originY() &&
           background.sourceWidth == kTileSide * field.width && background.sourceHeight == kTileSide * field.height;
}

FieldComposer::Setting FieldComposer::settingOf(const SandField& field, const ImageLayer& background) {
    return Setting{frameTarget.pixels,     frameTarget.stride,        frameTarget.height,
                   field.originX(),        field.originY(),           field.width,
                   field.height,           field.hueWeights,          background.image.pixels.get(),
                   background.sourceOffset, background.image.rowBytes};
}

void FieldComposer::startAfresh(const SandField& field, const ImageLayer& background, const Setting& setting) {
    setting_ = setting;
    const auto cells = static_cast<std::size_t>(field.width) * static_cast<std::size_t>(field.height);
    shownKind_.assign(cells, 0);
    shownHue_.assign(cells, 0);
    overwritten_.assign(cells, 1);
    // The background under each tile, laid out like a tile: a tile's four rows in one place.
    backgroundTiles_.resize(cells * kDrawnTileBytes + (kWideRowBytes - kTileRowBytes));
    uint8_t* piece = backgroundTiles_.data();
    for (int32_t row = 0; row < field.height; ++row) {
        for (int32_t column = 0; column < field.width; ++column) {
            for (int32_t r = 0; r < kTileSide; ++r, piece += kTileRowBytes) {
                std::memcpy(piece, background.windowPixel(kTileSide * column, kTileSide * row + r), kTileRowBytes);
            }
        }
    }
    settled_ = true;
}

void FieldComposer::compose(SandField& field, ImageLayer& background) {
    if (field.width <= 0 || field.height <= 0 || !field.fitsFrameTarget() ||
        !backgroundCoversField(field, background)) {
        background.draw();
        field.render();
        settled_ = false;
        tileRowsDrawn_.assign(static_cast<std::size_t>(std::max(field.height, 0)), 1);
        return;
    }
    const Setting setting = settingOf(field, background);
    if (!settled_ || !(setting == setting_)) {
        startAfresh(field, background, setting);
    }
    tileRowsDrawn_.resize(static_cast<std::size_t>(field.height));
    for (int32_t row = 0; row < field.height; ++row) {
        tileRowsDrawn_[row] = composeRow(field, row) ? 1 : 0;
    }
    field.front = 1 - field.front;
}

bool FieldComposer::composeRow(const SandField& field, int32_t row) {
    const int32_t firstCell = field.gridIndex(0, row);
    const uint8_t* kinds = field.frontKind() + firstCell;
    const uint8_t* hues = field.frontHue() + firstCell;
    const std::size_t firstShown = static_cast<std::size_t>(row) * static_cast<std::size_t>(field.width);
    uint8_t* shownKind = shownKind_.data() + firstShown;
    uint8_t* shownHue = shownHue_.data() + firstShown;
    uint8_t* overwritten = overwritten_.data() + firstShown;
    const uintptr_t backgroundTiles = reinterpret_cast<uintptr_t>(backgroundTiles_.data() + firstShown * kDrawnTileBytes);
    const uintptr_t tiles = reinterpret_cast<uintptr_t>(field.tiles.data());
    // The four pixel rows of this row of tiles in the frame target.
    const std::ptrdiff_t tileRowStep = std::ptrdiff_t{kTileSide} * setting_.stride;
    uint8_t* const row0 = setting_.pixels + field.rowOffset[0] - row * tileRowStep;
    uint8_t* const row1 = setting_.pixels + field.rowOffset[1] - row * tileRowStep;
    uint8_t* const row2 = setting_.pixels + field.rowOffset[2] - row * tileRowStep;
    uint8_t* const row3 = setting_.pixels + field.rowOffset[3] - row * tileRowStep;
    // A tile is drawn whenever its cell's bytes changed: the picture it shows may be the same (an
    // empty cell whose hue byte changed), and drawing it again writes the same bytes. Whether a
    // cell shows its bead or the background is as good as random, so the source is chosen by a
    // mask rather than by a branch whose missed guesses would cost more than the copy.
    const auto draw = [&](int32_t column, bool neighbourFollows) {
        const uint8_t kind = kinds[column];
        const uint8_t hue = hues[column];
        const uintptr_t background = -static_cast<uintptr_t>(showsBackground(hue, kind));
        const uintptr_t fromBackground = backgroundTiles + static_cast<uintptr_t>(column) * kDrawnTileBytes;
        const uintptr_t fromTiles = tiles + static_cast<uintptr_t>(tileOffset(hue, kind));
        const auto* source = reinterpret_cast<const uint8_t*>((fromBackground & background) | (fromTiles & ~background));
        const std::ptrdiff_t across = std::ptrdiff_t{column} * kTileRowBytes;
        copyTile(row0 + across, row1 + across, row2 + across, row3 + across, source, neighbourFollows);
    };
    bool drew = false;
    int32_t run = 0;
#if defined(__SSE2__)
    // Sixteen cells at once: which tiles to draw and where from is found for all of them together.
    for (; run + kVectorCells <= field.width; run += kVectorCells) {
        uint32_t changed = sixteenChanged(kinds + run, hues + run, shownKind + run, shownHue + run, overwritten + run);
        if (changed == 0) {
            continue;
        }
        drew = true;
        const SixteenSources found = sixteenSources(kinds + run, hues + run);
        const uint8_t* const backgroundRun = backgroundTiles_.data() + (firstShown + run) * kDrawnTileBytes;
        for (; changed != 0; changed &= changed - 1) {
            const int32_t lane = std::countr_zero(changed);
            const uint8_t* const source = ((found.background >> lane) & 1) != 0
                                              ? backgroundRun + std::ptrdiff_t{lane} * kDrawnTileBytes
                                              : field.tiles.data() + found.offsets[lane];
            const std::ptrdiff_t across = std::ptrdiff_t{run + lane} * kTileRowBytes;
            copyTile(row0 + across, row1 + across, row2 + across, row3 + across, source,
                     ((changed >> lane) & 2) != 0);
        }
        std::memcpy(shownKind + run, kinds + run, kVectorCells);
        std::memcpy(shownHue + run, hues + run, kVectorCells);
        std::memset(overwritten + run, 0, kVectorCells);
    }
#endif
    for (; run + kCellsPerWord <= field.width; run += kCellsPerWord) {
        // Runs of eight cells whose bytes all agree with those last drawn, and not overwritten, are
        // passed over at once; in a settled field that is most of them.
        uint64_t differing = changedBytes(kinds + run, shownKind + run) | changedBytes(hues + run, shownHue + run) |
                             changedBytes(overwritten + run, kNothing.data());
        if (differing == 0) {
            continue;
        }
        drew = true;
        if constexpr (std::endian::native == std::endian::little) {
            while (differing != 0) {
                const int32_t lane = std::countr_zero(differing) / 8;
                differing &= ~(uint64_t{0xFF} << (8 * lane));
                draw(run + lane, ((differing >> (8 * lane)) & 0xFF00) != 0);
            }
        } else {
            for (int32_t column = run; column < run + kCellsPerWord; ++column) {
                draw(column, false);
            }
        }
        std::memcpy(shownKind + run, kinds + run, kCellsPerWord);
        std::memcpy(shownHue + run, hues + run, kCellsPerWord);
        std::memset(overwritten + run, 0, kCellsPerWord);
    }
    for (; run < field.width; ++run) {
        if (kinds[run] != shownKind[run] || hues[run] != shownHue[run] || overwritten[run] != 0) {
            draw(run, false);
            shownKind[run] = kinds[run];
            shownHue[run] = hues[run];
            overwritten[run] = 0;
            drew = true;
        }
    }
    return drew;
}

void FieldComposer::markWritten(int32_t left, int32_t top, int32_t width, int32_t height) {
    if (!settled_ || width <= 0 || height <= 0) {
        return;  // an unsettled composer draws every tile anyway
    }
    const int64_t right = int64_t{left} + width - 1;
    const int64_t bottom = int64_t{top} + height - 1;
    const int64_t fieldRight = int64_t{setting_.originX} + kTileSide * int64_t{setting_.width} - 1;
    const int64_t fieldBottom = int64_t{setting_.originY} + kTileSide * int64_t{setting_.height} - 1;
    if (right < setting_.originX || bottom < setting_.originY || left > fieldRight || top > fieldBottom) {
        return;
    }
    const int32_t firstColumn = tileIndexOf(left, setting_.originX, setting_.width);
    const int32_t lastColumn = tileIndexOf(right, setting_.originX, setting_.width);
    const int32_t firstRow = tileIndexOf(top, setting_.originY, setting_.height);
    const int32_t lastRow = tileIndexOf(bottom, setting_.originY, setting_.height);
    for (int32_t row = firstRow; row <= lastRow; ++row) {
        uint8_t* flags = overwritten_.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(setting_.width);
        std::fill(flags + firstColumn, flags + lastColumn + 1, uint8_t{1});
    }
}

}  // namespace qv
