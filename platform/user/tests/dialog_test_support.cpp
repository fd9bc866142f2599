#include "dialog_test_support.h"

#include <utility>

namespace dialog_test {
namespace {

// BM_SETSTYLE: the test buttons take the new type into their style, as buttons do.
constexpr UINT kSetStyle = 0x00F4;

LRESULT ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT dialogCode)
{
  if (message == WM_GETDLGCODE)
    return dialogCode;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == kSetStyle) {
    auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>((style & ~0xFu) | (wParam & 0xF)));
    return 0;
  }
  bool isDefault = (GetWindowLongW(hwnd, GWL_STYLE) & 0xF) == 1;
  return ControlProc(hwnd, message, wParam, lParam,
                     DLGC_BUTTON | (isDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON));
}

LRESULT CALLBACK RadioProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  return ControlProc(hwnd, message, wParam, lParam, DLGC_BUTTON | DLGC_RADIOBUTTON);
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  return ControlProc(hwnd, message, wParam, lParam, DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL);
}

LRESULT CALLBACK PlainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

void RegisterControlClasses()
{
  struct Entry {
    const char16_t* name;
    WNDPROC proc;
  };
  for (Entry entry : {Entry{kButton, ButtonProc}, Entry{kRadio, RadioProc}, Entry{kEdit, EditProc},
                      Entry{kPlain, PlainProc}}) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = entry.proc;
    wc.lpszClassName = entry.name;
    RegisterClassW(&wc);
  }
}

DialogItemSpec Item(const char16_t* className, WORD id, DWORD style, short x, short y, short cx, short cy)
{
  DialogItemSpec item;
  item.className = TemplateName::Text(className);
  item.title = TemplateName::Text(u"");
  item.id = id;
  item.style = style | WS_CHILD;
  item.x = x;
  item.y = y;
  item.cx = cx;
  item.cy = cy;
  return item;
}

std::vector<BYTE> Template(std::vector<DialogItemSpec> items, DWORD style, short cx, short cy)
{
  DialogSpec spec;
  spec.style = style;
  spec.cx = cx;
  spec.cy = cy;
  spec.title = u"Test dialog";
  if (style & DS_SETFONT) {
    spec.pointSize = 9;
    spec.faceName = u"System";
  }
  spec.items = std::move(items);
  return user_dialog::BuildDialogTemplate(spec);
}

DialogProc::DialogProc(std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> function)
    : proc_(reinterpret_cast<DLGPROC>(MakeWindowProc(std::move(function))))
{
}

DialogProc::~DialogProc()
{
  FreeWindowProc(reinterpret_cast<WNDPROC>(proc_));
}

void Log::Add(std::string entry)
{
  std::lock_guard<std::mutex> guard(lock_);
  entries_.push_back(std::move(entry));
}

std::vector<std::string> Log::Take()
{
  std::lock_guard<std::mutex> guard(lock_);
  return std::exchange(entries_, {});
}

}  // namespace dialog_test
