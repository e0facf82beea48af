#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>
#include <type_traits>

namespace qv::replay {

// A whole decimal number in [low, high] and nothing else: no '+', no spaces, nothing before or
// after it. The runner's options and its script lines read every number this way.
template <typename Number>
std::optional<Number> parseWholeNumber(std::string_view text, Number low, Number high) {
    // Read into a wider type, so that a value just past the range is refused, not wrapped.
    static_assert(std::is_integral_v<Number> && sizeof(Number) < sizeof(int64_t));
    int64_t value = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (status != std::errc() || end != text.data() + text.size() || value < int64_t{low} || value > int64_t{high}) {
        return std::nullopt;
    }
    return static_cast<Number>(value);
}

}  // namespace qv::replay
