#include "pattern/pattern_types.h"

#include <ostream>
#include <sstream>

namespace QuarelNS {

bool operator==(const BrickCell& a, const BrickCell& b) {
    // NaN must not make a record unequal to itself.
    auto same = [](float x, float y) { return x == y || (x != x && y != y); };
    return a.brickU == b.brickU && a.brickV == b.brickV && same(a.localU, b.localU) &&
           same(a.localV, b.localV) && same(a.sizeU, b.sizeU) && same(a.sizeV, b.sizeV) &&
           a.isGrout == b.isGrout && a.kind == b.kind && a.turned == b.turned &&
           a.upright == b.upright && same(a.projSizeU, b.projSizeU) &&
           same(a.projSizeV, b.projSizeV);
}

std::string ToString(const PatternSettings& s) {
    std::ostringstream os;
    os.precision(9);
    os << "{pattern=" << s.pattern << " nx=" << s.nx << " ny=" << s.ny << " gap_u=" << s.gap_u
       << " gap_v=" << s.gap_v << " random_shift=" << s.random_shift << " seed=" << s.seed;
    if (s.cornerRadius != 0.f) os << " corner_radius=" << s.cornerRadius;
    os << "}";
    return os.str();
}

std::string ToString(const BrickCell& c) {
    std::ostringstream os;
    os.precision(9);
    os << "{brick=(" << c.brickU << ", " << c.brickV << ") kind=" << c.kind
       << (c.isGrout ? " grout" : " brick") << " local=(" << c.localU << ", " << c.localV
       << ") size=(" << c.sizeU << ", " << c.sizeV << ") turned=" << c.turned
       << " upright=" << c.upright << " proj=(" << c.projSizeU << ", " << c.projSizeV
       << ") joint=" << c.jointDist << "}";
    return os.str();
}

std::ostream& operator<<(std::ostream& os, const PatternSettings& s) {
    return os << ToString(s);
}
std::ostream& operator<<(std::ostream& os, const BrickCell& c) {
    return os << ToString(c);
}

}  // namespace QuarelNS
