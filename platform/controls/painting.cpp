// Painting of the controls. The colour protocol and owner drawing go through the parent; the
// drawing itself waits for the drawing layer.
#include "control_painting.h"
#include "control_support.h"

namespace controls_detail {

namespace {

constexpr int kCharacterWidth = 8;
constexpr int kLineHeight = 16;

}  // namespace

int LineHeightOf(HWND, HFONT)
{
  return kLineHeight;
}

int TextWidthOf(HWND, HFONT, std::u16string_view text)
{
  return static_cast<int>(text.size()) * kCharacterWidth;
}

void PaintWithDc(HWND hwnd, const std::function<void(HDC)>&)
{
  DefWindowProcW(hwnd, WM_PAINT, 0, 0);
}

HBRUSH AskParentForBrush(HWND control, UINT ctlColorMessage, HDC dc)
{
  HWND parent = GetParent(control);
  if (!parent)
    return nullptr;
  return reinterpret_cast<HBRUSH>(
      SendMessageW(parent, ctlColorMessage, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
}

void PaintStatic(HWND hwnd, HDC dc, HFONT)
{
  AskParentForBrush(hwnd, WM_CTLCOLORSTATIC, dc);
}

void PaintButton(HWND hwnd, HDC dc, const ButtonLook& look)
{
  DWORD style = StyleOf(hwnd);
  if ((style & BS_TYPEMASK) == BS_OWNERDRAW) {
    // The parent draws the button: its brush first, then the item.
    AskParentForBrush(hwnd, WM_CTLCOLORBTN, dc);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = ((look.state & BST_PUSHED) ? ODS_SELECTED : 0) | ((look.state & BST_FOCUS) ? ODS_FOCUS : 0) |
                     ((style & WS_DISABLED) ? ODS_DISABLED : 0);
    item.hwndItem = hwnd;
    item.hDC = dc;
    GetClientRect(hwnd, &item.rcItem);
    if (HWND parent = GetParent(hwnd))
      SendMessageW(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    return;
  }
  AskParentForBrush(hwnd, WM_CTLCOLORBTN, dc);
}

void PaintEdit(HWND hwnd, HDC dc, const EditLook&)
{
  DWORD style = StyleOf(hwnd);
  bool quiet = (style & ES_READONLY) || (style & WS_DISABLED);
  AskParentForBrush(hwnd, quiet ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT, dc);
}

void PaintScrollBar(HWND hwnd, HDC dc, const ScrollData&, bool)
{
  AskParentForBrush(hwnd, WM_CTLCOLORSCROLLBAR, dc);
}

}  // namespace controls_detail
