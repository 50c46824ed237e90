// Point2: a 2D vector of floats (texture coordinates and their filter sizes).
#pragma once

#include <cmath>

class Point2 {
public:
    float x = 0.f, y = 0.f;
    constexpr Point2() = default;
    constexpr Point2(float xx, float yy) : x(xx), y(yy) {}
    float& operator[](int i) { return i == 0 ? x : y; }
    const float& operator[](int i) const { return i == 0 ? x : y; }
    constexpr Point2 operator+(const Point2& o) const { return {x + o.x, y + o.y}; }
    constexpr Point2 operator-(const Point2& o) const { return {x - o.x, y - o.y}; }
    constexpr Point2 operator*(float f) const { return {x * f, y * f}; }
    constexpr Point2 operator/(float f) const { return {x / f, y / f}; }
    constexpr Point2 operator-() const { return {-x, -y}; }
    Point2& operator+=(const Point2& o) { return *this = *this + o; }
    Point2& operator-=(const Point2& o) { return *this = *this - o; }
    Point2& operator*=(float f) { return *this = *this * f; }
    constexpr bool operator==(const Point2& o) const { return x == o.x && y == o.y; }
    constexpr bool operator!=(const Point2& o) const { return !(*this == o); }
    float Length() const { return std::sqrt(x * x + y * y); }
    static const Point2 Origin;
};
inline constexpr Point2 operator*(float f, const Point2& p) {
    return p * f;
}
inline constexpr float DotProd(const Point2& a, const Point2& b) {
    return a.x * b.x + a.y * b.y;
}
inline float Length(const Point2& p) {
    return p.Length();
}
inline constexpr Point2 Point2::Origin{0.f, 0.f};
