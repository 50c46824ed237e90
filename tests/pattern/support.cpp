#include "support.h"

#include <cstring>

namespace QuarelNS::testing {

std::ostream& operator<<(std::ostream& os, const Piece& p) {
    return os << "(" << p.brickU << ", " << p.brickV << ", kind " << p.kind
              << (p.grout ? ", grout)" : ")");
}

bool SameBits(const BrickCell& a, const BrickCell& b) {
    const float fa[6] = {a.localU, a.localV, a.sizeU, a.sizeV, a.projSizeU, a.projSizeV};
    const float fb[6] = {b.localU, b.localV, b.sizeU, b.sizeV, b.projSizeU, b.projSizeV};
    return a.brickU == b.brickU && a.brickV == b.brickV && a.isGrout == b.isGrout &&
           a.kind == b.kind && a.turned == b.turned && a.upright == b.upright &&
           std::memcmp(fa, fb, sizeof fa) == 0;
}

std::uint64_t CellMapHash(const PatternSettings& ps, int n) {
    std::uint64_t h = 1469598103934665603ull;
    auto mix = [&h](const void* p, std::size_t len) {
        const auto* b = static_cast<const unsigned char*>(p);
        for (std::size_t i = 0; i < len; ++i) h = (h ^ b[i]) * 1099511628211ull;
    };
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const float u = (static_cast<float>(x) + 0.5f) / static_cast<float>(n);
            const float v = (static_cast<float>(y) + 0.5f) / static_cast<float>(n);
            const BrickCell c = Eval(ps, u, v);
            const std::int32_t ints[6] = {c.brickU, c.brickV, c.isGrout ? 1 : 0,
                                          c.kind,   c.turned, c.upright};
            const float floats[6] = {c.localU, c.localV,    c.sizeU,
                                     c.sizeV,  c.projSizeU, c.projSizeV};
            mix(ints, sizeof ints);
            mix(floats, sizeof floats);
        }
    }
    return h;
}

}  // namespace QuarelNS::testing
