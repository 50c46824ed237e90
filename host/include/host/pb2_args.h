// The arguments of a block declaration as the stand-in receives them. The SDK reads its
// variadic declarations through a C va_list, which cannot tell what the caller passed; the
// stand-in takes the same calls as templates and records each argument with the kind it would
// have after the C promotions (float as double, enums and short integers as int), so that the
// declaration parser can refuse an argument of the wrong kind instead of misreading it.
#pragma once

#include <cstddef>
#include <type_traits>

#include "acolor.h"
#include "color.h"
#include "point3.h"
#include "strbasic.h"

namespace quarel_host {

struct PB2Arg {
    enum class Kind : unsigned char { Int, Double, Text, Pointer, Point3, AColor };
    Kind kind = Kind::Int;
    long long i = 0;
    double d = 0.0;
    const void* ptr = nullptr;
    float v[4] = {0.f, 0.f, 0.f, 1.f};

    template <typename T>
    static PB2Arg Of(const T& value) {
        PB2Arg a;
        if constexpr (std::is_same_v<T, bool>) {
            a.i = value ? 1 : 0;
        } else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) {
            a.i = static_cast<long long>(value);
        } else if constexpr (std::is_floating_point_v<T>) {
            a.kind = Kind::Double;
            a.d = static_cast<double>(value);
        } else if constexpr (std::is_same_v<T, std::nullptr_t>) {
            a.kind = Kind::Pointer;
        } else if constexpr (std::is_convertible_v<T, const MCHAR*> && std::is_pointer_v<T>) {
            a.kind = Kind::Text;
            a.ptr = value;
        } else if constexpr (std::is_pointer_v<T>) {
            a.kind = Kind::Pointer;
            a.ptr = static_cast<const void*>(value);
        } else if constexpr (std::is_same_v<T, Point3>) {
            a.kind = Kind::Point3;
            a.v[0] = value.x, a.v[1] = value.y, a.v[2] = value.z;
        } else if constexpr (std::is_same_v<T, Color>) {
            a.kind = Kind::Point3;
            a.v[0] = value.r, a.v[1] = value.g, a.v[2] = value.b;
        } else if constexpr (std::is_same_v<T, AColor>) {
            a.kind = Kind::AColor;
            a.v[0] = value.r, a.v[1] = value.g, a.v[2] = value.b, a.v[3] = value.a;
        } else {
            static_assert(sizeof(T) == 0, "a block declaration cannot pass this type");
        }
        return a;
    }
};

// The recorded arguments of one call, in order.
struct PB2ArgList {
    const PB2Arg* data = nullptr;
    std::size_t size = 0;
};

}  // namespace quarel_host
