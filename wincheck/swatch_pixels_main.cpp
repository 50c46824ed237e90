// quarel-swatch-pixels: the pattern swatches as the Win32 stand-in draws them, listed pixel by
// pixel for comparison with the same listing from real GDI (quarel-wincheck swatches).
#include <cstdio>

#include "wincheck/swatch_pixels.h"

int main() {
    if (!QuarelWin::PrintSwatchPixels(stdout)) {
        std::fprintf(stderr, "quarel-swatch-pixels: cannot make a bitmap to draw into\n");
        return 1;
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
