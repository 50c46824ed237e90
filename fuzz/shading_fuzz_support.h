// What the shading fuzzers share: the fuzzer's bytes as a plain input record, the host maps
// they nest, and a snapshot kept mostly to values the blocks can hold.
#pragma once

#include <host/builtin_classes.h>
#include <stdmat.h>

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "shading/eval_snapshot.h"

namespace QuarelFuzz {

// The first bytes of `data` laid over a zeroed record; a short input leaves the rest zero.
template <typename Input>
Input ReadInput(const std::uint8_t* data, std::size_t size) {
    static_assert(std::is_trivially_copyable_v<Input>);
    Input in;
    std::memset(&in, 0, sizeof in);
    std::memcpy(&in, data, size < sizeof in ? size : sizeof in);
    return in;
}

// Mostly pattern ids and projection modes the blocks can hold, but every value now and then
// (`anyValue`).
inline void KeepMostlyStorable(QuarelNS::EvalSnapshot& snap, bool anyValue) {
    if (anyValue) return;
    snap.pattern = static_cast<std::int32_t>(static_cast<std::uint32_t>(snap.pattern) % 32);
    snap.projection_mode &= 1;
}

struct NestedMaps {
    SingleRefMaker checkerRef, multiRef, genRef;
    Texmap* checker;
    Texmap* multi;
    UVGen* gen;
    NestedMaps() {
        checker = new CheckerMap;
        checkerRef.SetRef(checker);
        multi = new MultiSubMap(5, MultiSubMap::kByNodeID);
        multiRef.SetRef(multi);
        gen = GetNewDefaultUVGen();
        genRef.SetRef(gen);
    }
};

inline Point3 P3(const float* f) {
    return Point3(f[0], f[1], f[2]);
}

}  // namespace QuarelFuzz
