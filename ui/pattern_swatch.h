// A small picture of one laying pattern, painted pixel by pixel into a device context.
//
// DrawPatternSwatch fills `rect` (device pixels, right and bottom exclusive) with the
// background, evaluates the pattern at the centre of every pixel with fixed settings (4 x 4
// cells, joints 0.075, no random shift, seed 1234; the top row is the high end of v), colours
// grout dark grey and each brick its set's base colour lightened by up to 8 % by a hash of its
// indices, and frames the rectangle last. The picture depends only on the pattern id and the
// rectangle's size, never on a map. A rectangle less than one pixel wide or high is left
// untouched. Ids outside 0..29 draw the "1/2 Running" bond.
#pragma once

#include <windows.h>

namespace QuarelNS {

void DrawPatternSwatch(HDC hdc, const RECT& rect, int patternId);

}  // namespace QuarelNS
