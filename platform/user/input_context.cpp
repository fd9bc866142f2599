// Input contexts of the input method: one per window until taken away.
#include <algorithm>
#include <cstring>

#include "input_queue.h"
#include "window_internal.h"

using namespace user_detail;

HIMC ImmGetContext(HWND hwnd)
{
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  return window ? window->inputContext : nullptr;
}

BOOL ImmReleaseContext(HWND hwnd, HIMC)
{
  return IsWindow(hwnd);
}

HIMC ImmAssociateContext(HWND hwnd, HIMC context)
{
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  if (!window)
    return nullptr;
  HIMC old = window->inputContext;
  window->inputContext = context;
  return old;
}

LONG ImmGetCompositionStringW(HIMC context, DWORD index, LPVOID buffer, DWORD bufferBytes)
{
  if (index != GCS_RESULTSTR && index != GCS_COMPSTR)
    return 0;
  std::u16string text;
  if (index == GCS_RESULTSTR)
    text = CompositionResult(context);
  DWORD bytes = static_cast<DWORD>(text.size() * sizeof(char16_t));
  if (bufferBytes == 0)
    return static_cast<LONG>(bytes);
  DWORD copied = std::min(bytes, bufferBytes) / sizeof(char16_t) * sizeof(char16_t);
  if (buffer)
    std::memcpy(buffer, text.data(), copied);
  return static_cast<LONG>(copied);
}
