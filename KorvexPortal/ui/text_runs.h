// The one-line look of the owner-drawn text controls: a light background with a one-pixel
// frame, an optional icon at the left, then runs of text in colours of their own, side by side.
#pragma once

#include "atl/simple_collections.h"
#include "text/cstring.h"
#include "windows.h"

// Paints the line over the client rectangle; the runs start 10 pixels after the icon (or after
// the left edge when there is none).
void PaintTextRuns(HDC dc, const RECT& client, COLORREF frame, HBITMAP icon, const CSimpleArray<CStringW>& texts,
                   const CSimpleArray<COLORREF>& colours);
