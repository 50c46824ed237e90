#include <algorithm>
#include <cmath>

#include "shading/brick_eval.h"
#include "shading/float_guards.h"

namespace QuarelNS {

// HSV round trip in single precision; the arithmetic and its order are what stored scenes show.
void ShiftHue(Color& c, float shift) {
    if (shift == 0.f) return;
    const float r = c.r, g = c.g, b = c.b;
    const float v = std::max(r, std::max(g, b));
    const float m = std::min(r, std::min(g, b));
    const float d = v - m;
    const float s = v > 1e-6f ? d / v : 0.f;
    float h = 0.f;
    if (d > 1e-6f) {
        if (v == r) {
            h = (g - b) / d;
            if (b > g) h += 6.f;
        } else if (v == g) {
            h = (b - r) / d + 2.f;
        } else {
            h = (r - g) / d + 4.f;
        }
        h = h / 6.f;
    }
    h = h + shift;
    h = h - std::floor(h);
    if (h < 0.f) h = h + 1.f;
    // A non-finite shift leaves NaN here, and a hue a hair below 0 rounds to 1; both would
    // reach the sector's integer conversion. Hue 1 and hue 0 give the same colour.
    if (!(h >= 0.f && h < 1.f)) h = 0.f;
    if (s <= 1e-6f) {
        c.r = c.g = c.b = v;
        return;
    }
    const float h6 = h * 6.f;
    const float fi = std::floor(h6);  // 0..5: h is in [0, 1)
    const float f = h6 - fi;
    const float p = v * (1.f - s);
    const float q = v * (1.f - f * s);
    const float t = v * (1.f - (1.f - f) * s);
    switch (static_cast<int>(fi) % 6) {
        case 0:
            c = Color(v, t, p);
            break;
        case 1:
            c = Color(q, v, p);
            break;
        case 2:
            c = Color(p, v, t);
            break;
        case 3:
            c = Color(p, q, v);
            break;
        case 4:
            c = Color(t, p, v);
            break;
        default:
            c = Color(v, p, q);
            break;
    }
    c.r = Clamp01(c.r);
    c.g = Clamp01(c.g);
    c.b = Clamp01(c.b);
}

}  // namespace QuarelNS
