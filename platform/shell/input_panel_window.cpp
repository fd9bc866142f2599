#include "input_panel_window.h"

#include <mutex>

#include "input_panel_keys.h"
#include "internal/user/test_hooks.h"
#include "screen_layout.h"
#include "windows.h"

namespace shell {
namespace {

constexpr char16_t kClassName[] = u"SipWndClass";
constexpr COLORREF kPanelColour = RGB(0xC9, 0xCE, 0xD6);
constexpr COLORREF kKeyColour = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kKeyDownColour = RGB(0x9C, 0xA6, 0xB4);  // shift while it is on
constexpr COLORREF kKeyEdgeColour = RGB(0x8A, 0x94, 0xA3);
constexpr COLORREF kCaptionColour = RGB(0x20, 0x20, 0x20);

// Whether the letters type in upper case: kept with the window, so a panel started again begins
// in lower case.
bool IsShifted(HWND hwnd)
{
  return GetWindowLongPtrW(hwnd, GWLP_USERDATA) != 0;
}

std::vector<PanelKey> Keys()
{
  return LayOutPanelKeys(SipRect());
}

void Fill(HDC dc, const RECT& rect, COLORREF colour)
{
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

HFONT CaptionFont(int keyHeight)
{
  LOGFONTW font{};
  font.lfHeight = -(keyHeight * 2 / 3);
  font.lfWeight = FW_NORMAL;
  return CreateFontIndirectW(&font);
}

void Paint(HWND hwnd)
{
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  Fill(dc, client, kPanelColour);
  bool shifted = IsShifted(hwnd);
  // Keys are laid out on the screen; the window's client area starts at the panel's corner.
  RECT panel = SipRect();
  std::vector<PanelKey> keys = Keys();
  HFONT font = CaptionFont(keys.empty() ? 0 : keys.front().rect.bottom - keys.front().rect.top);
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kCaptionColour);
  for (const PanelKey& key : keys) {
    RECT cap = key.rect;
    OffsetRect(&cap, -panel.left, -panel.top);
    Fill(dc, cap, kKeyEdgeColour);
    RECT face = cap;
    InflateRect(&face, -1, -1);
    Fill(dc, face, key.kind == PanelKeyKind::shift && shifted ? kKeyDownColour : kKeyColour);
    std::u16string caption = PanelKeyCaption(key, shifted);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &face, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  SelectObject(dc, oldFont);
  DeleteObject(font);
  EndPaint(hwnd, &ps);
}

void PressKey(UINT virtualKey)
{
  user_test::InjectKey(virtualKey, true);
  user_test::InjectKey(virtualKey, false);
}

// A tap on a key types it where key input goes; shift only changes the case of what follows.
void Tap(HWND hwnd, POINT client)
{
  RECT panel = SipRect();
  std::vector<PanelKey> keys = Keys();
  const PanelKey* key = PanelKeyAt(keys, POINT{client.x + panel.left, client.y + panel.top});
  if (!key)
    return;
  switch (key->kind) {
  case PanelKeyKind::shift:
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, !IsShifted(hwnd));
    InvalidateRect(hwnd, nullptr, FALSE);
    return;
  case PanelKeyKind::backspace: PressKey(VK_BACK); return;
  case PanelKeyKind::enter: PressKey(VK_RETURN); return;
  case PanelKeyKind::character:
  case PanelKeyKind::space: user_test::InjectCharacter(TypedCharacter(*key, IsShifted(hwnd))); return;
  }
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  switch (message) {
  case kUpdateInputPanel: ShowInputPanelAsTheStateSays(hwnd); return 0;
  case WM_SETTINGCHANGE:
    // The screen may have turned: the panel's place follows it.
    if (IsWindowVisible(hwnd))
      ShowInputPanelAsTheStateSays(hwnd);
    return 0;
  case WM_ERASEBKGND: return 1;
  case WM_PAINT: Paint(hwnd); return 0;
  case WM_LBUTTONDOWN:
    Tap(hwnd, POINT{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))});
    return 0;
  case WM_DESTROY: PostQuitMessage(0); return 0;
  default: return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

HWND CreateInputPanelWindow()
{
  static std::once_flag registered;
  std::call_once(registered, [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PanelProc;
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);
  });
  return CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, kClassName, u"", WS_POPUP, 0, 0, 0, 0, nullptr,
                         nullptr, nullptr, nullptr);
}

void ShowInputPanelAsTheStateSays(HWND window)
{
  if (!IsSipOn()) {
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  RECT panel = SipRect();
  SetWindowPos(window, HWND_TOPMOST, panel.left, panel.top, panel.right - panel.left, panel.bottom - panel.top,
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  UpdateWindow(window);
}

}  // namespace shell
