// The dialog manager's fonts: a dialog's FONT (or the system font) as a font object, with the
// average character width and height from which dialog units are converted. Those two are the
// font's metrics at 96 dots per inch times the screen's density factor, so a template lays out
// at 192 dots per inch exactly twice as large as at 96: glyph metrics rounded at each size on
// their own would make a template that fits 240 pixels run past the edge at 480.
#include <algorithm>
#include <mutex>

#include "gdi/gdi.h"
#include "internal/boot/device_start.h"
#include "internal/user/dialog_font.h"

namespace {

// The density the dialog units are measured at.
constexpr int kBaseDpi = 96;

LOGFONTW FontRecord(WORD pointSize, const std::u16string& face, int dpi)
{
  LOGFONTW record{};
  record.lfHeight = -((static_cast<LONG>(pointSize) * dpi + 36) / 72);
  record.lfWeight = FW_NORMAL;
  record.lfCharSet = DEFAULT_CHARSET;
  size_t length = std::min(face.size(), static_cast<size_t>(LF_FACESIZE - 1));
  std::copy_n(face.begin(), length, record.lfFaceName);
  return record;
}

// The font's average character width and height; false when they cannot be read.
bool ReadMetrics(HFONT font, int& averageWidth, int& height)
{
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  bool read = GetTextMetricsW(dc, &metrics) != FALSE;
  SelectObject(dc, old);
  DeleteDC(dc);
  averageWidth = metrics.tmAveCharWidth;
  height = metrics.tmHeight;
  return read;
}

user_dialog::DialogFont CreateFont(WORD pointSize, const std::u16string& face, int dpi)
{
  user_dialog::DialogFont result;
  LOGFONTW base{};
  if (pointSize == 0) {
    result.font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    GetObjectW(result.font, sizeof base, &base);
    base.lfHeight = base.lfHeight * kBaseDpi / std::max(dpi, 1);
  } else {
    LOGFONTW record = FontRecord(pointSize, face, dpi);
    result.font = CreateFontIndirectW(&record);
    base = FontRecord(pointSize, face, kBaseDpi);
  }
  // The units: the same face at the base density, scaled by the density factor.
  int factor = std::max(1, dpi / kBaseDpi);
  HFONT measured = dpi == kBaseDpi ? result.font : CreateFontIndirectW(&base);
  if (ReadMetrics(measured, result.averageWidth, result.height)) {
    result.averageWidth *= factor;
    result.height *= factor;
  }
  if (measured != result.font)
    DeleteObject(measured);
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
