// The box: its caption in a band at the top (the device draws no captions on window frames),
// the icon at the left, the text beside it (wrapped to the screen's width) and the buttons in a
// centred row below, all sized from the dialog font; centred on the screen.
#include "box_dialog.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "box_buttons.h"
#include "controls/controls.h"
#include "gdi/gdi.h"
#include "internal/user/dialog_template_writer.h"
#include "kernel/kernel.h"
#include "msgbox/message_box.h"
#include "windows.h"

namespace msgbox {
namespace {

constexpr int kTextId = 0xFFFF;

// Dialog units of the box's font in pixels.
SIZE Dlu(HWND dialog, int x, int y)
{
  RECT rect{0, 0, x, y};
  MapDialogRect(dialog, &rect);
  return SIZE{rect.right, rect.bottom};
}

HWND CreateChild(HWND dialog, LPCWSTR className, LPCWSTR text, DWORD style, RECT place, int id)
{
  HWND child = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, place.left, place.top,
                               place.right - place.left, place.bottom - place.top, dialog,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  SendMessageW(child, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
  return child;
}

// The height the text takes at that width in the dialog's font.
int TextHeight(HWND dialog, const std::u16string& text, int width)
{
  HDC dc = GetDC(dialog);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
  RECT rect{0, 0, width, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(dialog, dc);
  return rect.bottom - rect.top;
}

// The icon's shape and mark: a red octagon for errors, a yellow triangle for warnings, a blue
// disc for questions and information.
void PaintIcon(HDC dc, UINT icon, RECT box)
{
  int size = box.right - box.left;
  double cx = box.left + size / 2.0, cy = box.top + size / 2.0, r = size / 2.0;
  std::vector<POINT> shape;
  COLORREF fill = RGB(0x1E, 0x5A, 0xC8), mark = RGB(255, 255, 255);
  const char16_t* glyph = icon == MB_ICONQUESTION ? u"?" : u"i";
  if (icon == MB_ICONEXCLAMATION) {
    shape = {{box.left + size / 2, box.top}, {box.right - 1, box.bottom - 1}, {box.left, box.bottom - 1}};
    fill = RGB(0xF2, 0xC0, 0x1E);
    mark = RGB(0, 0, 0);
    glyph = u"!";
  } else {
    int corners = icon == MB_ICONHAND ? 8 : 24;
    double turn = icon == MB_ICONHAND ? std::numbers::pi / 8 : 0;
    for (int i = 0; i < corners; ++i) {
      double angle = turn + 2 * std::numbers::pi * i / corners;
      shape.push_back(POINT{static_cast<LONG>(std::lround(cx + r * std::cos(angle))),
                            static_cast<LONG>(std::lround(cy + r * std::sin(angle)))});
    }
    if (icon == MB_ICONHAND) {
      fill = RGB(0xD0, 0x21, 0x21);
      glyph = u"×";
    }
  }
  HBRUSH brush = CreateSolidBrush(fill);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
  Polygon(dc, shape.data(), static_cast<int>(shape.size()));
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(brush);

  LOGFONTW face{};
  face.lfHeight = -(size * 2 / 3);
  face.lfWeight = FW_BOLD;
  HFONT font = CreateFontIndirectW(&face);
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, mark);
  RECT markBox = box;
  if (icon == MB_ICONEXCLAMATION)
    markBox.top += size / 6;  // the triangle's body lies low
  DrawTextW(dc, glyph, -1, &markBox, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, oldFont);
  DeleteObject(font);
}

class Box {
 public:
  explicit Box(const Request& request) : request_(request), buttons_(ButtonsOf(request.type)) {}

  INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam)
  {
    switch (message) {
    case WM_INITDIALOG:
      Layout(dialog);
      return FALSE;  // the focus is set
    case WM_PAINT:
      Paint(dialog);
      return TRUE;
    case WM_COMMAND:
      Answer(dialog, LOWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      Answer(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
    }
  }

 private:
  UINT Icon() const { return request_.type & MB_ICONMASK; }

  void Answer(HWND dialog, int id)
  {
    bool own = std::any_of(buttons_.begin(), buttons_.end(), [&](const Button& button) { return button.id == id; });
    int answer = own ? id : id == IDCANCEL ? CloseAnswer(request_.type) : 0;
    if (answer)
      EndDialog(dialog, answer);
  }

  void Layout(HWND dialog)
  {
    int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    RECT window, client;
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    SIZE frame{(window.right - window.left) - client.right, (window.bottom - window.top) - client.bottom};
    SIZE margin = Dlu(dialog, 5, 6), outer = Dlu(dialog, 4, 4), button = Dlu(dialog, 40, 14), gap = Dlu(dialog, 4, 4);
    icon_ = Icon() ? Dlu(dialog, 0, 16).cy : 0;

    int width = screenWidth - 2 * outer.cx - frame.cx;
    int textLeft = margin.cx + (icon_ ? icon_ + margin.cx : 0);
    int textWidth = std::max(1, width - textLeft - margin.cx);
    int measured = TextHeight(dialog, request_.text, textWidth);
    int row = std::max<int>(measured, icon_);
    title_ = RECT{0, 0, width, TextHeight(dialog, u"国", width) + margin.cy};
    int top = title_.bottom + margin.cy;
    int buttonsTop = top + row + margin.cy;
    int height = buttonsTop + button.cy + margin.cy;
    // A text too long for the screen is cut at the screen's bottom.
    int tallest = screenHeight - 2 * outer.cy - frame.cy;
    if (height > tallest) {
      row -= height - tallest;
      measured = std::min(measured, row);
      buttonsTop = top + row + margin.cy;
      height = tallest;
    }
    iconBox_ = RECT{margin.cx, top, margin.cx + icon_, top + icon_};

    int textTop = top + (row - measured) / 2;
    CreateChild(dialog, WC_STATICW, request_.text.c_str(), SS_LEFT | SS_NOPREFIX,
                RECT{textLeft, textTop, textLeft + textWidth, textTop + measured}, kTextId);

    int count = static_cast<int>(buttons_.size());
    int buttonWidth = std::min<int>(button.cx, (width - 2 * margin.cx - (count - 1) * gap.cx) / count);
    int left = (width - (count * buttonWidth + (count - 1) * gap.cx)) / 2;
    int defaultId = DefaultAnswer(request_.type);
    HWND focus = nullptr;
    for (const Button& each : buttons_) {
      bool isDefault = each.id == defaultId;
      HWND control = CreateChild(dialog, WC_BUTTONW, each.text, WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                                 RECT{left, buttonsTop, left + buttonWidth, buttonsTop + button.cy}, each.id);
      if (isDefault)
        focus = control;
      left += buttonWidth + gap.cx;
    }
    SendMessageW(dialog, DM_SETDEFID, static_cast<WPARAM>(defaultId), 0);

    SIZE outerSize{width + frame.cx, height + frame.cy};
    SetWindowPos(dialog, HWND_TOPMOST, (screenWidth - outerSize.cx) / 2, (screenHeight - outerSize.cy) / 2,
                 outerSize.cx, outerSize.cy, 0);
    SetForegroundWindow(dialog);
    SetFocus(focus);
  }

  void Paint(HWND dialog)
  {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    FillRect(dc, &title_, GetSysColorBrush(COLOR_ACTIVECAPTION));
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
    RECT caption = title_;
    caption.left += (title_.bottom - title_.top) / 3;
    DrawTextW(dc, request_.caption.c_str(), static_cast<int>(request_.caption.size()), &caption,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, old);
    if (icon_)
      PaintIcon(dc, Icon(), iconBox_);
    EndPaint(dialog, &paint);
  }

  const Request& request_;
  std::vector<Button> buttons_;
  int icon_ = 0;
  RECT iconBox_{};
  RECT title_{};
};

}  // namespace

int ShowBoxDialog(const Request& request)
{
  user_dialog::DialogSpec spec;
  spec.style = WS_POPUP | WS_BORDER | WS_VISIBLE | DS_MODALFRAME;
  spec.cx = 100;  // replaced once the text is measured; a size of its own shows the frame's
  spec.cy = 40;
  spec.title = request.caption;
  spec.pointSize = 9;
  spec.faceName = u"宋体";
  std::vector<BYTE> bytes = user_dialog::BuildDialogTemplate(spec);

  // Only a window of this process can be the box's owner (and be disabled while it shows).
  HWND owner = request.owner;
  DWORD ownerProcess = 0;
  if (owner && (!GetWindowThreadProcessId(owner, &ownerProcess) || ownerProcess != GetCurrentProcessId()))
    owner = nullptr;

  Box box(request);
  WNDPROC proc = MakeWindowProc([&box](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
    return box.Handle(dialog, message, wParam);
  });
  INT_PTR answer = DialogBoxIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATE>(bytes.data()), owner,
                                           reinterpret_cast<DLGPROC>(proc), 0);
  FreeWindowProc(proc);
  return answer > 0 ? static_cast<int>(answer) : 0;
}

}  // namespace msgbox
