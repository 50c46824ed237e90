#include "preview/render/relief_view.h"

#include <cmath>

#include "relief/relief_height_interface.h"

namespace QuarelPreview {

AColor NormalOutputColor(Texmap* normal, ShadeContext& sc) {
    return normal != nullptr ? normal->EvalColor(sc) : AColor(0.5f, 0.5f, 1.f, 1.f);
}

AColor BumpOutputColor(Texmap* bump, ShadeContext& sc) {
    return bump != nullptr ? bump->EvalColor(sc) : AColor(0.f, 0.f, 0.f, 1.f);
}

float ReliefHeightAt(Texmap* normal, ShadeContext& sc) {
    if (normal == nullptr) return 0.f;
    auto* height = static_cast<QuarelNS::IQuarelReliefHeight*>(
        normal->GetInterface(QuarelNS::kQuarelReliefHeightId));
    return height != nullptr ? height->ReliefHeight(sc) : 0.f;
}

AColor PerturbationColor(Texmap* map, ShadeContext& sc) {
    const Point3 p = map->EvalNormalPerturb(sc);
    // The same derivative vectors the map expresses its perturbation along.
    Point3 dPdu, dPdv;
    if (UVGen* gen = map->GetTheUVGen()) {
        gen->GetBumpDP(sc, dPdu, dPdv);
    } else {
        Point3 dP[3];
        sc.DPdUVW(dP, 1);
        dPdu = dP[0];
        dPdv = dP[1];
    }
    const float uu = dPdu.x * dPdu.x + dPdu.y * dPdu.y + dPdu.z * dPdu.z;
    const float vv = dPdv.x * dPdv.x + dPdv.y * dPdv.y + dPdv.z * dPdv.z;
    const float tu = uu > 0.f ? (p.x * dPdu.x + p.y * dPdu.y + p.z * dPdu.z) / uu : 0.f;
    const float tv = vv > 0.f ? (p.x * dPdv.x + p.y * dPdv.y + p.z * dPdv.z) / vv : 0.f;
    const double x = -tu, y = -tv;
    const double len = std::sqrt(x * x + y * y + 1.0);
    if (!std::isfinite(len)) return AColor(0.5f, 0.5f, 1.f, 1.f);
    return AColor(static_cast<float>(x / len * 0.5 + 0.5), static_cast<float>(y / len * 0.5 + 0.5),
                  static_cast<float>(1.0 / len * 0.5 + 0.5), 1.f);
}

}  // namespace QuarelPreview
