#include "pattern/swatch_colour.h"

#include "pattern/pattern_hash.h"

namespace QuarelNS {

PatternSettings SwatchSettings(int id) {
    PatternSettings ps;
    ps.pattern = id;
    ps.nx = 4;
    ps.ny = 4;
    ps.gap_u = 0.075f;
    ps.gap_v = 0.075f;
    ps.random_shift = 0.f;
    ps.seed = 1234;
    return ps;
}

std::uint32_t SwatchCellColour(const BrickCell& cell) {
    if (cell.isGrout) return kSwatchGrout;
    const std::uint32_t k =
        HashFinalize((static_cast<std::uint32_t>(cell.brickU) * 374761393u) ^
                     (static_cast<std::uint32_t>(cell.brickV) * 668265263u) ^ 0x36605A39u);
    const float f = static_cast<float>(k & 0xFFFFFFu) * 5.9604645e-08f * 0.08f;
    static constexpr int kFirst[3] = {108, 91, 88};
    static constexpr int kSecond[3] = {218, 214, 210};
    const int* base = cell.kind == 1 ? kSecond : kFirst;
    std::uint32_t colour = 0;
    for (int ch = 0; ch < 3; ++ch) {
        const int c = base[ch] + static_cast<int>(static_cast<float>(255 - base[ch]) * f);
        colour |= static_cast<std::uint32_t>(c) << (8 * ch);
    }
    return colour;
}

}  // namespace QuarelNS
