#include "image/bmp_run_length.h"

#include <algorithm>

namespace qv {

namespace {

// The place the next index goes, in stored rows; it may lie beyond the picture.
class RunWriter {
public:
    RunWriter(const BmpLayout& layout, const BmpPalette& palette, const PictureView* destination)
        : layout_(layout), palette_(palette), destination_(destination) {}

    bool pastLastRow() const { return row_ >= layout_.height; }
    // Data that stops right after the last pixel of the last row still gives the whole picture.
    bool atEnd() const { return pastLastRow() || (row_ == layout_.height - 1 && column_ >= layout_.width); }

    // `count` indices, the i-th of them indexOf(i); only those inside the row are painted.
    template <typename IndexOf>
    void write(int64_t count, IndexOf indexOf) {
        const int64_t inside = std::clamp<int64_t>(layout_.width - column_, 0, count);
        if (destination_ != nullptr && !pastLastRow()) {
            const int32_t y = layout_.pictureRowOf(row_);
            for (int64_t i = 0; i < inside; ++i) {
                palette_.paint(*destination_, static_cast<int32_t>(column_ + i), y, indexOf(i));
            }
        }
        column_ += count;
    }
    void nextLine() {
        column_ = 0;
        ++row_;
    }
    void jump(uint8_t right, uint8_t up) {
        column_ += right;
        row_ += up;
    }

private:
    const BmpLayout& layout_;
    const BmpPalette& palette_;
    const PictureView* destination_;
    int64_t column_ = 0;
    int64_t row_ = 0;
};

// Index i of a run of 4-bit indices packed two to a byte, the first in the high half.
uint8_t nibble(uint8_t packed, int64_t i) { return i % 2 == 0 ? packed >> 4 : packed & 0x0F; }

}  // namespace

bool decodeRunLength(const BmpLayout& layout, std::span<const uint8_t> data, const BmpPalette& palette,
                     const PictureView* destination) {
    const bool fourBits = layout.coding == BmpLayout::Coding::runLength4;
    RunWriter writer(layout, palette, destination);
    std::size_t at = 0;
    while (!writer.pastLastRow()) {
        if (data.size() - at < 2) {
            return writer.atEnd();
        }
        const uint8_t count = data[at];
        const uint8_t code = data[at + 1];
        at += 2;
        if (count > 0) {
            writer.write(count, [&](int64_t i) { return fourBits ? nibble(code, i) : code; });
            continue;
        }
        if (code == 0) {
            writer.nextLine();
        } else if (code == 1) {
            return true;
        } else if (code == 2) {
            if (data.size() - at < 2) {
                return false;
            }
            writer.jump(data[at], data[at + 1]);
            at += 2;
        } else {  // `code` indices one by one, their bytes padded to an even count
            const std::size_t bytes = fourBits ? (code + 1u) / 2 : code;
            if (data.size() - at < bytes) {
                return false;
            }
            const uint8_t* indices = data.data() + at;
            writer.write(code, [&](int64_t i) { return fourBits ? nibble(indices[i / 2], i) : indices[i]; });
            at = std::min(data.size(), at + bytes + bytes % 2);
        }
    }
    return true;
}

}  // namespace qv
