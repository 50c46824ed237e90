// Any settings and any coordinates, NaN and infinities included, must give a defined cell:
// ASan and UBSan abort on anything else.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "pattern/evaluate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QuarelNS::PatternSettings ps;
    // The seven numeric fields come from the input; the flag from a byte of its own (a bool may
    // hold no other bits), then the corner radius.
    constexpr std::size_t kNumeric = offsetof(QuarelNS::PatternSettings, wantJointDist);
    float uv[2] = {0.f, 0.f};
    if (size < kNumeric + sizeof uv + 1) return 0;
    std::memcpy(static_cast<void*>(&ps), data, kNumeric);  // the numeric fields only
    std::memcpy(uv, data + kNumeric, sizeof uv);
    ps.wantJointDist = (data[kNumeric + sizeof uv] & 1) != 0;
    // Rounded corners when the input goes on: any float, NaN and infinities included.
    if (size >= kNumeric + sizeof uv + 1 + sizeof ps.cornerRadius)
        std::memcpy(&ps.cornerRadius, data + kNumeric + sizeof uv + 1, sizeof ps.cornerRadius);
    // Keep the id in a useful range most of the time, but let every value through sometimes.
    if ((data[0] & 0x80) == 0) ps.pattern = static_cast<std::int32_t>(data[0] % 32);
    QuarelNS::BrickCell cell;
    QuarelNS::EvaluatePattern(ps, uv[0], uv[1], cell);
    if (cell.kind != 0 && cell.kind != 1) __builtin_trap();
    if (cell.upright != 0 && cell.upright != 1) __builtin_trap();
    if (!(cell.jointDist >= 0.f)) __builtin_trap();                    // never negative, never NaN
    if (!ps.wantJointDist && cell.jointDist != 0.f) __builtin_trap();  // not asked, not measured
    return 0;
}
