// Dialog records, dialog fonts and dialog units.
#include "dialog_state.h"

#include <algorithm>
#include <map>

namespace user_dialog {
namespace {

struct Records {
  std::mutex lock;
  std::map<HWND, std::shared_ptr<DialogRecord>> dialogs;
  DialogFontFactory factory;
};

Records& records()
{
  static Records* table = new Records;  // lives as long as the process, like the window tables
  return *table;
}

// The system font's nominal metrics: 9 points at the screen's density, characters half as wide
// as they are high.
DialogFont NominalFont(WORD pointSize, int dpi)
{
  DialogFont font;
  font.height = (static_cast<int>(pointSize ? pointSize : 9) * dpi + 36) / 72;
  font.averageWidth = (font.height + 1) / 2;
  return font;
}

}  // namespace

std::shared_ptr<DialogRecord> FindDialog(HWND dialog)
{
  std::lock_guard<std::mutex> guard(records().lock);
  auto it = records().dialogs.find(dialog);
  return it == records().dialogs.end() ? nullptr : it->second;
}

std::shared_ptr<DialogRecord> AddDialog(HWND dialog)
{
  auto record = std::make_shared<DialogRecord>();
  std::lock_guard<std::mutex> guard(records().lock);
  records().dialogs[dialog] = record;
  return record;
}

void RemoveDialog(HWND dialog)
{
  std::shared_ptr<DialogRecord> record;
  {
    std::lock_guard<std::mutex> guard(records().lock);
    auto it = records().dialogs.find(dialog);
    if (it == records().dialogs.end())
      return;
    record = std::move(it->second);
    records().dialogs.erase(it);
  }
  if (record->hasFont)
    ReleaseDialogFont(record->font);
}

void SetDialogFontFactory(const DialogFontFactory& factory)
{
  std::lock_guard<std::mutex> guard(records().lock);
  records().factory = factory;
}

int ScreenDpi()
{
  int shortSide = std::min(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  return 96 * std::max(1, shortSide / 240);
}

DialogFont CreateDialogFont(WORD pointSize, const std::u16string& face)
{
  DialogFontFactory factory;
  {
    std::lock_guard<std::mutex> guard(records().lock);
    factory = records().factory;
  }
  int dpi = ScreenDpi();
  if (factory.create) {
    DialogFont font = factory.create(pointSize, face, dpi);
    if (font.averageWidth > 0 && font.height > 0)
      return font;
    ReleaseDialogFont(font);
  }
  return NominalFont(pointSize, dpi);
}

void ReleaseDialogFont(const DialogFont& font)
{
  if (!font.font)
    return;
  DialogFontFactory factory;
  {
    std::lock_guard<std::mutex> guard(records().lock);
    factory = records().factory;
  }
  if (factory.release)
    factory.release(font.font);
}

DialogFont FontOf(HWND dialog)
{
  auto record = FindDialog(dialog);
  if (record && record->hasFont)
    return record->font;
  return NominalFont(0, ScreenDpi());
}

RECT DialogUnitsToPixels(const DialogFont& font, short x, short y, short cx, short cy)
{
  // Horizontal units are a quarter of the average width, vertical ones an eighth of the height.
  auto horizontal = [&](int units) { return (units * font.averageWidth + (units < 0 ? -2 : 2)) / 4; };
  auto vertical = [&](int units) { return (units * font.height + (units < 0 ? -4 : 4)) / 8; };
  RECT rect;
  rect.left = horizontal(x);
  rect.top = vertical(y);
  rect.right = horizontal(x + cx);
  rect.bottom = vertical(y + cy);
  return rect;
}

bool EnsureDialogClass()
{
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefDlgProcW;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.lpszClassName = WC_DIALOG;
    return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

}  // namespace user_dialog
