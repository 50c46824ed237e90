#include "ui/pattern_swatch.h"

#include "pattern/evaluate.h"
#include "pattern/swatch_colour.h"

namespace QuarelNS {
namespace {

// A solid brush made for one fill or frame and deleted right after.
void PaintWithBrush(HDC hdc, const RECT& rect, COLORREF colour, bool frame) {
    HBRUSH brush = CreateSolidBrush(colour);
    if (brush == nullptr) return;
    if (frame)
        FrameRect(hdc, &rect, brush);
    else
        FillRect(hdc, &rect, brush);
    DeleteObject(brush);
}

}  // namespace

void DrawPatternSwatch(HDC hdc, const RECT& rect, int patternId) {
    const LONG w = rect.right - rect.left;
    const LONG h = rect.bottom - rect.top;
    if (w < 1 || h < 1) return;
    PaintWithBrush(hdc, rect, kSwatchBackground, false);
    const PatternSettings settings = SwatchSettings(patternId);
    const float fw = static_cast<float>(w);
    const float fh = static_cast<float>(h);
    for (LONG y = 0; y < h; ++y) {
        const float v = 1.0f - (static_cast<float>(y) + 0.5f) / fh;
        for (LONG x = 0; x < w; ++x) {
            const float u = (static_cast<float>(x) + 0.5f) / fw;
            BrickCell cell;  // the defaults every query starts from
            EvaluatePattern(settings, u, v, cell);
            SetPixelV(hdc, static_cast<int>(rect.left + x), static_cast<int>(rect.top + y),
                      static_cast<COLORREF>(SwatchCellColour(cell)));
        }
    }
    // Last, over the pattern: the outermost ring is always the frame colour.
    PaintWithBrush(hdc, rect, kSwatchFrame, true);
}

}  // namespace QuarelNS
