// Color: red, green and blue as floats, nominally 0..1.
#pragma once

#include <windows.h>

#include "point3.h"

class Color {
public:
    float r = 0.f, g = 0.f, b = 0.f;
    Color() = default;
    Color(float rr, float gg, float bb) : r(rr), g(gg), b(bb) {}
    Color(double rr, double gg, double bb)
        : r(static_cast<float>(rr)), g(static_cast<float>(gg)), b(static_cast<float>(bb)) {}
    Color(int rr, int gg, int bb)
        : r(static_cast<float>(rr)), g(static_cast<float>(gg)), b(static_cast<float>(bb)) {}
    explicit Color(const Point3& p) : r(p.x), g(p.y), b(p.z) {}
    explicit Color(const float af[3]) : r(af[0]), g(af[1]), b(af[2]) {}
    explicit Color(COLORREF c)
        : r(static_cast<float>(c & 0xFF) / 255.f),
          g(static_cast<float>((c >> 8) & 0xFF) / 255.f),
          b(static_cast<float>((c >> 16) & 0xFF) / 255.f) {}

    void Black() { r = g = b = 0.f; }
    void White() { r = g = b = 1.f; }
    void ClampMinMax() {
        r = r < 0.f ? 0.f : (r > 1.f ? 1.f : r);
        g = g < 0.f ? 0.f : (g > 1.f ? 1.f : g);
        b = b < 0.f ? 0.f : (b > 1.f ? 1.f : b);
    }
    float& operator[](int i) { return i == 0 ? r : (i == 1 ? g : b); }
    const float& operator[](int i) const { return i == 0 ? r : (i == 1 ? g : b); }
    explicit operator Point3() const { return {r, g, b}; }
    // 0x00BBGGRR with each channel clamped to 0..1 and rounded.
    COLORREF toRGB() const {
        auto q = [](float v) {
            const float c = v < 0.f ? 0.f : (v > 1.f ? 1.f : v);
            return static_cast<DWORD>(c * 255.f + 0.5f);
        };
        return q(r) | (q(g) << 8) | (q(b) << 16);
    }
    Color operator+(const Color& o) const { return {r + o.r, g + o.g, b + o.b}; }
    Color operator-(const Color& o) const { return {r - o.r, g - o.g, b - o.b}; }
    Color operator*(const Color& o) const { return {r * o.r, g * o.g, b * o.b}; }
    Color operator*(float f) const { return {r * f, g * f, b * f}; }
    Color operator/(float f) const { return {r / f, g / f, b / f}; }
    Color& operator+=(const Color& o) { return *this = *this + o; }
    Color& operator*=(float f) { return *this = *this * f; }
    bool operator==(const Color& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Color& o) const { return !(*this == o); }
};
inline Color operator*(float f, const Color& c) {
    return c * f;
}
