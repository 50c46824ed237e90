// The pattern engine's query and answer records.
//
// PatternSettings is what a caller asks with: pattern id, counts, grout widths, random row shift
// and seed, as seven consecutive 4-byte fields, then whether the joint distance is wanted and
// how round the corners are.
// BrickCell is the answer: which brick a point lies on, where on its face, whether it is in a
// joint, which brick set it belongs to, how a nested map is framed on it and how far the point is
// from a joint edge. The caller presets every BrickCell field to the defaults below before each
// query; generators write only the fields they own, so the defaults are part of the result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>

namespace QuarelNS {

struct PatternSettings {
    std::int32_t pattern = 0;  // 0..29; any other value selects "1/2 Running"
    std::int32_t nx = 4;       // brick columns (or repeat cells) across one unit of u
    std::int32_t ny = 8;       // rows (or repeat cells) across one unit of v
    float gap_u = 0.05f;       // width of the joints that cut u
    float gap_v = 0.05f;       // width of the joints that cut v
    float random_shift = 0.f;  // amplitude of the random per-row offset, in brick widths
    std::uint32_t seed = 1234;
    // Whether the generators measure BrickCell::jointDist. Off, they skip that work (it can cost
    // more than the rest of a query) and leave jointDist at its default 0; every other field is
    // the same either way.
    bool wantJointDist = false;
    // Rounds the corners of faces that fill their local frame (pattern/corner_rounding.h), a
    // fraction of the face's smaller side, 0..0.5; 0 leaves every record as it was.
    float cornerRadius = 0.f;
};
static_assert(offsetof(PatternSettings, wantJointDist) == 7 * 4,
              "PatternSettings begins with seven 4-byte fields");
static_assert(offsetof(PatternSettings, nx) == 4 && offsetof(PatternSettings, gap_u) == 12 &&
                  offsetof(PatternSettings, seed) == 24,
              "PatternSettings field order is fixed");

struct BrickCell {
    std::int32_t brickU = 0;  // brick indices; with kind they identify the brick
    std::int32_t brickV = 0;
    float localU = 0.f;  // position across the face, 0..1 with the grout excluded
    float localV = 0.f;  // position along the face
    float sizeU = 1.f;   // face extent along localU, in UV units
    float sizeV = 1.f;   // face extent along localV
    bool isGrout = false;
    std::int32_t kind = 0;    // 0: first brick set, 1: second
    std::int32_t turned = 0;  // 1: localU runs along UV v
    std::int32_t upright = 1;
    float projSizeU = 0.f;  // nested-map projection extents; 0 means use sizeU / sizeV
    float projSizeV = 0.f;
    // Distance to the nearest joint edge of the piece, in tile units, never negative: on a brick
    // to the face's outline (where the bevel of the relief is measured), in the grout to the face
    // of the brick the record names. Exact up to float rounding on straight and circular edges;
    // the bounds for the other outlines are stated where each generator computes it. Not part of
    // operator==, which compares the identity and the frame of a cell. Measured only when
    // PatternSettings::wantJointDist is set; otherwise left as preset (0).
    float jointDist = 0.f;
};

bool operator==(const BrickCell& a, const BrickCell& b);
inline bool operator!=(const BrickCell& a, const BrickCell& b) {
    return !(a == b);
}

// Readable forms, so failing tests and tools print something a person can read.
std::string ToString(const PatternSettings& s);
std::string ToString(const BrickCell& c);
std::ostream& operator<<(std::ostream& os, const PatternSettings& s);
std::ostream& operator<<(std::ostream& os, const BrickCell& c);

}  // namespace QuarelNS
