// What a device context's surface offers: size, depth and density.
#pragma once

#include "base/types.h"

#define HORZSIZE 4
#define VERTSIZE 6
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMCOLORS 24
#define RASTERCAPS 38
#define LOGPIXELSX 88
#define LOGPIXELSY 90

#define RC_BITBLT 1
#define RC_STRETCHBLT 0x0800

// For window and screen DCs the screen's; for memory DCs the selected bitmap's size. The
// density is 96 dots per inch for a 240-pixel short side, 192 for 480.
int GetDeviceCaps(HDC dc, int index);
