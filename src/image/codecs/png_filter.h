// Row filters of PNG filter method 0 for 8-bit RGB rows (3 bytes a pixel).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace hueloom::codecs::png {

// The five filter types, and Adaptive: per row the type whose residues, read
// as signed bytes, have the smallest sum of magnitudes (libpng's heuristic).
enum class RowFilterKind : std::uint8_t { None, Sub, Up, Average, Paeth, Adaptive };

class RgbRowFilter {
public:
    explicit RgbRowFilter(std::size_t rowBytes);

    // prev: the unfiltered row above (all zeros for the first row); out
    // receives the filter type byte and then rowBytes filtered bytes.
    void apply(RowFilterKind kind, const std::uint8_t* prev, const std::uint8_t* cur, std::uint8_t* out) const;

private:
    std::size_t n_;
    std::unique_ptr<std::uint8_t[]> scratch_;
};

}  // namespace hueloom::codecs::png
