// AColor: a colour with alpha, as texture maps return it.
#pragma once

#include "color.h"

class AColor {
public:
    float r = 0.f, g = 0.f, b = 0.f, a = 0.f;
    AColor() = default;
    AColor(float rr, float gg, float bb, float aa = 1.f) : r(rr), g(gg), b(bb), a(aa) {}
    AColor(double rr, double gg, double bb, double aa = 1.0)
        : r(static_cast<float>(rr)),
          g(static_cast<float>(gg)),
          b(static_cast<float>(bb)),
          a(static_cast<float>(aa)) {}
    AColor(int rr, int gg, int bb, int aa = 1)
        : r(static_cast<float>(rr)),
          g(static_cast<float>(gg)),
          b(static_cast<float>(bb)),
          a(static_cast<float>(aa)) {}
    AColor(const Color& c, float aa = 1.f) : r(c.r), g(c.g), b(c.b), a(aa) {}

    void Black() { r = g = b = 0.f, a = 1.f; }
    void White() { r = g = b = a = 1.f; }
    explicit operator Color() const { return {r, g, b}; }
    float& operator[](int i) { return i == 0 ? r : (i == 1 ? g : (i == 2 ? b : a)); }
    const float& operator[](int i) const { return i == 0 ? r : (i == 1 ? g : (i == 2 ? b : a)); }
    AColor operator+(const AColor& o) const { return {r + o.r, g + o.g, b + o.b, a + o.a}; }
    AColor operator-(const AColor& o) const { return {r - o.r, g - o.g, b - o.b, a - o.a}; }
    AColor operator*(float f) const { return {r * f, g * f, b * f, a * f}; }
    AColor& operator+=(const AColor& o) { return *this = *this + o; }
    AColor& operator*=(float f) { return *this = *this * f; }
    bool operator==(const AColor& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    bool operator!=(const AColor& o) const { return !(*this == o); }
};
inline AColor operator*(float f, const AColor& c) {
    return c * f;
}
