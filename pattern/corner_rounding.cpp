#include "pattern/corner_rounding.h"

#include <algorithm>
#include <cmath>

namespace QuarelNS {

void RoundFrameCorners(float radiusFraction, bool measure, BrickCell& cell) {
    if (cell.isGrout) return;
    const float r = std::min(radiusFraction, 0.5f) * std::min(cell.sizeU, cell.sizeV);
    if (!(r > 0.f && r < 1e30f)) return;  // none, NaN, or a face without a finite size
    // How far inside the corner's square of side r the point lies, along each side.
    const float ex = r - std::min(cell.localU, 1.f - cell.localU) * cell.sizeU;
    const float ey = r - std::min(cell.localV, 1.f - cell.localV) * cell.sizeV;
    if (!(ex > 0.f && ey > 0.f)) return;
    const float q = std::sqrt(ex * ex + ey * ey);  // from the arc's centre
    if (q > r) cell.isGrout = true;
    if (measure) cell.jointDist = std::fabs(r - q);
}

}  // namespace QuarelNS
