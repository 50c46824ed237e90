// Bits of an animatable's flag word. The work flags are temporary marks that the host and
// plug-ins set during one traversal: not saved, not copied, cleared by whoever starts to use one.
#pragma once

#define A_WORK1 (1 << 28)
#define A_WORK2 (1 << 29)
#define A_WORK3 (1 << 30)
#define A_WORK4 (1 << 31)
