// Point3: a 3D vector of floats (positions, normals, texture coordinates).
#pragma once

#include <cmath>

class Point3 {
public:
    float x = 0.f, y = 0.f, z = 0.f;
    constexpr Point3() = default;
    constexpr Point3(float xx, float yy, float zz) : x(xx), y(yy), z(zz) {}
    constexpr Point3(double xx, double yy, double zz)
        : x(static_cast<float>(xx)), y(static_cast<float>(yy)), z(static_cast<float>(zz)) {}
    constexpr Point3(int xx, int yy, int zz)
        : x(static_cast<float>(xx)), y(static_cast<float>(yy)), z(static_cast<float>(zz)) {}
    explicit Point3(const float af[3]) : x(af[0]), y(af[1]), z(af[2]) {}

    float& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }
    const float& operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }
    constexpr Point3 operator+(const Point3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    constexpr Point3 operator-(const Point3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    constexpr Point3 operator*(const Point3& o) const { return {x * o.x, y * o.y, z * o.z}; }
    constexpr Point3 operator*(float f) const { return {x * f, y * f, z * f}; }
    constexpr Point3 operator/(float f) const { return {x / f, y / f, z / f}; }
    constexpr Point3 operator-() const { return {-x, -y, -z}; }
    Point3& operator+=(const Point3& o) { return *this = *this + o; }
    Point3& operator-=(const Point3& o) { return *this = *this - o; }
    Point3& operator*=(float f) { return *this = *this * f; }
    Point3& operator/=(float f) { return *this = *this / f; }
    constexpr bool operator==(const Point3& o) const { return x == o.x && y == o.y && z == o.z; }
    constexpr bool operator!=(const Point3& o) const { return !(*this == o); }
    float Length() const { return std::sqrt(x * x + y * y + z * z); }
    constexpr float LengthSquared() const { return x * x + y * y + z * z; }
    // A zero vector stays zero instead of becoming NaN.
    Point3 Normalize() const {
        const float l = Length();
        return l > 0.f ? *this / l : Point3();
    }
    static const Point3 Origin;
    static const Point3 XAxis, YAxis, ZAxis;
};
inline constexpr Point3 operator*(float f, const Point3& p) {
    return p * f;
}
inline constexpr float DotProd(const Point3& a, const Point3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline constexpr float operator%(const Point3& a, const Point3& b) {
    return DotProd(a, b);
}
inline constexpr Point3 CrossProd(const Point3& a, const Point3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline constexpr Point3 operator^(const Point3& a, const Point3& b) {
    return CrossProd(a, b);
}
inline float Length(const Point3& p) {
    return p.Length();
}
inline Point3 Normalize(const Point3& p) {
    return p.Normalize();
}
inline Point3 FNormalize(const Point3& p) {
    return p.Normalize();
}
inline constexpr Point3 Point3::Origin{0.f, 0.f, 0.f};
inline constexpr Point3 Point3::XAxis{1.f, 0.f, 0.f};
inline constexpr Point3 Point3::YAxis{0.f, 1.f, 0.f};
inline constexpr Point3 Point3::ZAxis{0.f, 0.f, 1.f};
