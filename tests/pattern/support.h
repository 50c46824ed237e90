// Helpers shared by the pattern tests.
#pragma once

#include <cstdint>
#include <ostream>

#include "pattern/evaluate.h"
#include "pattern/pattern_types.h"

namespace QuarelNS::testing {

inline PatternSettings Settings(int pattern, int nx, int ny, float gapU = 0.f, float gapV = 0.f,
                                float shift = 0.f, std::uint32_t seed = 1234) {
    PatternSettings ps;
    ps.pattern = pattern;
    ps.nx = nx;
    ps.ny = ny;
    ps.gap_u = gapU;
    ps.gap_v = gapV;
    ps.random_shift = shift;
    ps.seed = seed;
    return ps;
}

inline BrickCell Eval(const PatternSettings& ps, float u, float v) {
    BrickCell c;
    EvaluatePattern(ps, u, v, c);
    return c;
}

// Which piece holds a point: brickU, brickV, kind and the grout flag in one readable comparison.
struct Piece {
    int brickU, brickV, kind;
    bool grout;
    bool operator==(const Piece&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Piece& p);

inline Piece PieceAt(const PatternSettings& ps, float u, float v) {
    const BrickCell c = Eval(ps, u, v);
    return {c.brickU, c.brickV, c.kind, c.isGrout};
}

// Rows of the tables of worked points: the piece at a point, or only whether it is grout.
struct KnownPiece {
    PatternSettings ps;
    float u, v;
    Piece want;
};
struct GroutProbe {
    PatternSettings ps;
    float u, v;
    bool grout;
};

// A record with the frame fields at their defaults, for whole-record comparisons.
inline BrickCell Record(int brickU, int brickV, float localU, float localV, float sizeU,
                        float sizeV, bool grout, int kind) {
    BrickCell c;
    c.brickU = brickU;
    c.brickV = brickV;
    c.localU = localU;
    c.localV = localV;
    c.sizeU = sizeU;
    c.sizeV = sizeV;
    c.isGrout = grout;
    c.kind = kind;
    return c;
}

// Equal in every bit, so that -0 and +0 differ: the plain methods must match the engine exactly.
bool SameBits(const BrickCell& a, const BrickCell& b);

// A golden cell map: the hash of a 64 x 64 map under these settings.
struct GoldenCellMap {
    PatternSettings ps;
    std::uint64_t hash;
};

// FNV-1a over the cell records of an n x n grid of pixel centres: a compact golden image.
std::uint64_t CellMapHash(const PatternSettings& ps, int n);

}  // namespace QuarelNS::testing
