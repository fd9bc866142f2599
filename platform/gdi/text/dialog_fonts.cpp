// The dialog manager's fonts: a dialog's FONT (or the system font) as a font object, with the
// average character width and height from GetTextMetrics, from which dialog units are converted.
#include <algorithm>
#include <mutex>

#include "gdi/gdi.h"
#include "internal/boot/device_start.h"
#include "internal/user/dialog_font.h"

namespace {

user_dialog::DialogFont CreateFont(WORD pointSize, const std::u16string& face, int dpi)
{
  user_dialog::DialogFont result;
  if (pointSize == 0) {
    result.font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  } else {
    LOGFONTW record{};
    record.lfHeight = -((static_cast<LONG>(pointSize) * dpi + 36) / 72);
    record.lfWeight = FW_NORMAL;
    record.lfCharSet = DEFAULT_CHARSET;
    size_t length = std::min(face.size(), static_cast<size_t>(LF_FACESIZE - 1));
    std::copy_n(face.begin(), length, record.lfFaceName);
    result.font = CreateFontIndirectW(&record);
  }
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, result.font);
  TEXTMETRICW metrics{};
  if (GetTextMetricsW(dc, &metrics)) {
    result.averageWidth = metrics.tmAveCharWidth;
    result.height = metrics.tmHeight;
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  return result;
}

void ReleaseFont(HFONT font)
{
  if (font != GetStockObject(SYSTEM_FONT))
    DeleteObject(font);
}

}  // namespace

void device_start::InstallDialogFonts()
{
  static std::once_flag once;
  std::call_once(once, [] { user_dialog::SetDialogFontFactory({CreateFont, ReleaseFont}); });
}
