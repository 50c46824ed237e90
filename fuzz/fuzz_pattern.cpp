// Any settings and any coordinates, NaN and infinities included, must give a defined cell:
// ASan and UBSan abort on anything else.
#include <cstdint>
#include <cstring>

#include "pattern/evaluate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QuarelNS::PatternSettings ps;
    float uv[2] = {0.f, 0.f};
    if (size < sizeof ps + sizeof uv) return 0;
    std::memcpy(&ps, data, sizeof ps);
    std::memcpy(uv, data + sizeof ps, sizeof uv);
    // Keep the id in a useful range most of the time, but let every value through sometimes.
    if ((data[0] & 0x80) == 0) ps.pattern = static_cast<std::int32_t>(data[0] % 32);
    QuarelNS::BrickCell cell;
    QuarelNS::EvaluatePattern(ps, uv[0], uv[1], cell);
    if (cell.kind != 0 && cell.kind != 1) __builtin_trap();
    if (cell.upright != 0 && cell.upright != 1) __builtin_trap();
    if (!(cell.jointDist >= 0.f)) __builtin_trap();  // never negative, never NaN
    return 0;
}
