// Input contexts of the input method. Every window has one until it is associated with none;
// composed input-method text reaches a window with an input context as WM_IME_COMPOSITION
// (the result string read with ImmGetCompositionString) followed by the key-up of the key
// that composed it, and a window without one as WM_CHAR.
#pragma once

#include "base/types.h"

// WM_IME_COMPOSITION lParam flags and ImmGetCompositionString indexes.
#define GCS_COMPSTR 0x0008
#define GCS_RESULTSTR 0x0800

HIMC ImmGetContext(HWND hwnd);
BOOL ImmReleaseContext(HWND hwnd, HIMC context);
// Returns the window's former context; a null context turns the input method off for it.
HIMC ImmAssociateContext(HWND hwnd, HIMC context);
// Bytes copied (or needed, with a zero buffer size) of the context's result string.
LONG ImmGetCompositionStringW(HIMC context, DWORD index, LPVOID buffer, DWORD bufferBytes);

inline LONG ImmGetCompositionString(HIMC context, DWORD index, LPVOID buffer, DWORD bufferBytes)
{
  return ImmGetCompositionStringW(context, index, buffer, bufferBytes);
}
