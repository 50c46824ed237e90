// The value type of the parameter tables: a default, a range bound or a clamp, usable in
// constexpr tables (the SDK's PB2Value and Color are not literal types).
#pragma once

namespace QuarelNS {

// A colour of a table row, as plain floats.
struct Rgb {
    float r = 0.f, g = 0.f, b = 0.f;
    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

struct TableValue {
    enum Kind : unsigned char { kNone, kInt, kFloat, kColor };
    Kind kind = kNone;
    int i = 0;
    float f = 0.f;
    Rgb c{};

    constexpr TableValue() = default;
    constexpr TableValue(int v) : kind(kInt), i(v), f(static_cast<float>(v)) {}
    constexpr TableValue(float v) : kind(kFloat), i(static_cast<int>(v)), f(v) {}
    constexpr TableValue(double v) : TableValue(static_cast<float>(v)) {}
    constexpr TableValue(Rgb v) : kind(kColor), c(v) {}
    constexpr bool IsSet() const { return kind != kNone; }
};

}  // namespace QuarelNS
