#include <algorithm>
#include <cmath>
#include <cstdint>

#include "pattern/catalogue.h"
#include "pattern/evaluate.h"
#include "pattern/seamless_identity.h"
#include "shading/brick_eval.h"
#include "shading/brick_hash.h"
#include "shading/brick_shade_context.h"
#include "shading/eval_log.h"
#include "shading/float_guards.h"
#include "shading/relief_shape.h"

// Nested-map evaluation stays out of line: its large context would otherwise widen the stack
// frame and the register saves of every call, map or no map.
#if defined(_MSC_VER)
#define QUAREL_NOINLINE __declspec(noinline)
#else
#define QUAREL_NOINLINE __attribute__((noinline))
#endif

namespace QuarelNS {

const ShadeOverrides& DefaultShadeOverrides() {
    // The record's member defaults are the built-in ones. A function-local static is created
    // once, thread-safely; being constant, it needs no guard on the hot path.
    static constexpr ShadeOverrides kDefault{};
    return kDefault;
}

namespace {

constexpr float kDegPerRad = 57.295776f;
constexpr float kRadPerDeg = 0.017453292f;

// Rotates (x, y) about (0.5, 0.5) by the angle whose sine and cosine are s and c.
inline void RotateAboutCentre(float& x, float& y, float s, float c) {
    const float dx = x - 0.5f, dy = y - 0.5f;
    x = dx * c - dy * s + 0.5f;
    y = dy * c + dx * s + 0.5f;
}

// The nested map's rotation on this brick, in radians: a whole number of steps between 0 and
// |brick_angle| with the angle's sign, or the angle itself when there is no step.
float TextureRotation(const EvalSnapshot& s, const BrickCell& cell, std::int32_t element) {
    const float angle = s.brick_angle;
    if (std::fabs(angle) <= 1e-7f) return 0.f;
    const std::int32_t step = s.random_texture_rotation_step;
    if (step <= 0) return angle;
    // Saturated: a NaN or huge angle must not reach an integer conversion, and n + 1 must not
    // overflow below.
    const std::int32_t n = SaturatingFloor(
        std::fabs(angle) * kDegPerRad / static_cast<float>(step) + 1e-6f, 0, INT32_MAX - 1);
    if (n <= 0) return 0.f;
    const std::uint32_t k = RotationHash(s.seed, RotationKey(cell.brickU, cell.brickV, element)) %
                            (static_cast<std::uint32_t>(n) + 1u);
    if (k == 0) return 0.f;
    // In 64 bits the product cannot overflow; for ordinary angles it is the plain int product.
    const float degrees = static_cast<float>(static_cast<std::int64_t>(k) * step);
    return degrees * (angle < 0.f ? -1.f : 1.f) * kRadPerDeg;
}

// The master-space point and filter size, and the depth and its filter size, of one evaluation.
struct MasterPoint {
    float um, vm, dum, dvm, w, dw;
};

// The grout map sees the unwrapped master coordinates and the surface's own ids.
QUAREL_NOINLINE AColor EvalGroutMap(Texmap& map, ShadeContext& sc, const MasterPoint& m) {
    // Non-finite coordinates are taken as 0, as the pattern query takes them.
    BrickShadeContext gsc(sc, Point3(FiniteOr0(m.um), FiniteOr0(m.vm), m.w),
                          Point3(FiniteOr0(m.dum), FiniteOr0(m.dvm), m.dw), 1.f, 1.f, sc.mtlNum, 0,
                          1);
    return map.EvalColor(gsc);
}

// A brick map sees the brick's own frame: rotated, tiled, optionally a random fragment of the
// texture, with derivative vectors scaled to the face and a per-brick id.
QUAREL_NOINLINE AColor EvalBrickMap(Texmap& map, ShadeContext& sc, const EvalSnapshot& s,
                                    const BrickCell& cell, std::int32_t element, std::uint32_t key,
                                    const MasterPoint& m) {
    // Rotation, then the brick tiling and offset, wrapped to the unit tile (a
    // non-finite value becomes 0 there).
    float lu = cell.localU, lv = cell.localV;
    const float r = TextureRotation(s, cell, element);
    if (r != 0.f) RotateAboutCentre(lu, lv, std::sin(r), std::cos(r));
    lu = ReduceToUnitInline(lu * s.brick_u_tiling + s.brick_u_offset);
    lv = ReduceToUnitInline(lv * s.brick_v_tiling + s.brick_v_offset);

    // The brick's own id for maps that read it.
    const auto brickId =
        static_cast<std::int32_t>(BrickRandom(s.seed, key, BrickSalt::kBrickId) & 0x7FFFFFFFu);

    // A random window of relative size fu x fv of the nested texture, shaped like the face.
    float fu = 1.f, fv = 1.f;
    if (s.random_fragment_on != 0) {
        fu = std::min(1.f, std::max(0.001f, s.fragment_size));
        const float aspect = cell.sizeU > 1e-6f ? cell.sizeV / cell.sizeU : 1.f;
        fv = std::min(1.f, std::max(0.001f, aspect * fu));
        lu = Unit(BrickRandom(s.seed, key, BrickSalt::kFragmentU)) * (1.f - fu) + fu * lu;
        lv = Unit(BrickRandom(s.seed, key, BrickSalt::kFragmentV)) * (1.f - fv) + fv * lv;
    }

    const float pu = cell.projSizeU > 1e-6f ? cell.projSizeU : cell.sizeU;
    const float pv = cell.projSizeV > 1e-6f ? cell.projSizeV : cell.sizeV;
    const float du = (cell.turned == 1 ? m.dvm : m.dum) * s.brick_u_tiling * fu / pu;
    const float dv = (cell.upright == 1 ? m.dvm : m.dum) * s.brick_v_tiling * fv / pv;
    const float scaleU = 1.f / (std::fabs(s.brick_u_tiling) * pu + 1e-6f);
    const float scaleV = 1.f / (std::fabs(s.brick_v_tiling) * pv + 1e-6f);

    BrickShadeContext bsc(sc, Point3(lu, lv, m.w), Point3(FiniteOr0(du), FiniteOr0(dv), m.dw),
                          scaleU, scaleV, brickId, cell.turned, cell.upright);
    return map.EvalColor(bsc);
}

// The per-brick variation of a brick's colour: its variance, then its hue shift.
inline void VaryBrickColor(const EvalSnapshot& s, std::uint32_t key, AColor& color) {
    // Colour variance: a per-brick factor in [1 - variance, 1 + variance).
    if (s.color_variance > 0.f) {
        const float f = (Unit(BrickRandom(s.seed, key, BrickSalt::kColorVariance)) - 0.5f) * 2.f *
                            s.color_variance +
                        1.f;
        color.r = Clamp01(color.r * f);
        color.g = Clamp01(color.g * f);
        color.b = Clamp01(color.b * f);
    }

    // Hue shift by a per-brick share of hue_shift turns.
    if (s.hue_shift != 0.f) {
        Color c(color.r, color.g, color.b);
        ShiftHue(c, Unit(BrickRandom(s.seed, key, BrickSalt::kHueShift)) * s.hue_shift);
        color.r = c.r;
        color.g = c.g;
        color.b = c.b;
    }
}

// The joint's colour at the point: the grout map, or the record's grout colour.
inline AColor JointColor(const BrickEvalSource& src, ShadeContext& sc, const EvalSnapshot& s,
                         const ShadeOverrides& ov, const MasterPoint& m) {
    if (ov.evalMaps && s.grout_map_on != 0 && src.groutMap != nullptr)
        return EvalGroutMap(*src.groutMap, sc, m);
    return AColor(ov.useOwnColors ? ov.groutColor : s.grout_color, 1.f);
}

// A height record's brick colour, lowered towards the joint's colour at the same point by the
// brick's relief shape. Out of line: only relief records with a shape come here.
QUAREL_NOINLINE void ShapeRelief(const BrickEvalSource& src, ShadeContext& sc,
                                 const EvalSnapshot& s, const ShadeOverrides& ov,
                                 const MasterPoint& m, const BrickCell& cell, std::uint32_t key,
                                 AColor& color) {
    const float rise = ReliefRise(ReliefShapeOf(s, key), cell);
    if (!(rise < 1.f)) return;
    const AColor j = JointColor(src, sc, s, ov, m);
    color = AColor(j.r + (color.r - j.r) * rise, j.g + (color.g - j.g) * rise,
                   j.b + (color.b - j.b) * rise, j.a + (color.a - j.a) * rise);
}

}  // namespace

AColor EvalBrickPoint(const BrickEvalSource& src, ShadeContext& sc, const Point3& uvw,
                      const Point3& duvw, const BoxFace& face, const ShadeOverrides* overrides) {
    const EvalSnapshot& s = SnapshotOf(src);
    const ShadeOverrides& ov = overrides != nullptr ? *overrides : DefaultShadeOverrides();

    // Master transform about the tile's centre; the angle only when there is one.
    const float u = uvw.x, v = uvw.y;
    MasterPoint m;
    m.um = (u - 0.5f) * s.master_u_tiling + 0.5f + s.master_u_offset;
    m.vm = (v - 0.5f) * s.master_v_tiling + 0.5f + s.master_v_offset;
    if (s.master_angle != 0.f)
        RotateAboutCentre(m.um, m.vm, std::sin(s.master_angle), std::cos(s.master_angle));

    // Master filter size; the angle does not enter.
    m.dum = duvw.x * std::fabs(s.master_u_tiling);
    m.dvm = duvw.y * std::fabs(s.master_v_tiling);
    m.w = uvw.z;
    m.dw = duvw.z;

    // Log only.
    NoteMasterValues(src, u, v, m.um, m.vm);

    // Pattern query. The engine reduces the point to the unit tile itself (and takes
    // non-finite coordinates as 0), so um and vm go in as they are.
    PatternSettings ps = PatternSettingsOn(s, face);
    ps.wantJointDist = ov.reliefShape && NeedsJointDistance(s);
    BrickCell cell;  // the record's defaults are the preset the engine expects
    EvaluatePattern(ps, m.um, m.vm, cell);

    // Grout: its map, or its colour; no variation.
    if (cell.isGrout) return JointColor(src, sc, s, ov, m);

    // Brick. With seamless bricks the parts that the tile's edges cut share one identity, so
    // every per-brick value below, the nested map's frame and id included, is the whole brick's.
    if (s.seamless_bricks != 0) ApplySeamlessIdentity(ps, cell);
    const std::uint32_t key = CellKey(cell.brickU, cell.brickV, face.element);

    // Second colour: the pattern's own colour-2 bricks, or a random quarter of the others
    // (never in the custom layouts, which place their second set themselves).
    bool second = cell.kind == 1;
    if (!second && ov.allowSecondColor && s.random_second_color_on != 0 &&
        !PatternInfoFor(s.pattern).customLayout)
        second = Unit(BrickRandom(s.seed, key, BrickSalt::kSecondColor)) < 0.25f;

    // The chosen nested map if allowed, switched on and present; else the colour.
    Texmap* map = nullptr;
    if (ov.evalMaps) {
        if (second)
            map = s.brick_map_2_on != 0 ? src.brickMap2 : nullptr;
        else
            map = s.brick_map_on != 0 ? src.brickMap : nullptr;
    }
    AColor color;
    if (map != nullptr) {
        color = EvalBrickMap(*map, sc, s, cell, face.element, key, m);
    } else {
        const Color& c = ov.useOwnColors ? (second ? ov.brickColor2 : ov.brickColor1)
                                         : (second ? s.brick_color_2 : s.brick_color);
        color = AColor(c, 1.f);
    }

    VaryBrickColor(s, key, color);
    if (ov.reliefShape && HasReliefShape(s)) ShapeRelief(src, sc, s, ov, m, cell, key, color);
    return color;
}

}  // namespace QuarelNS
