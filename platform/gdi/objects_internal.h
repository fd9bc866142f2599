// The drawing layer's objects and their handle table. Everything here is guarded by the one
// drawing lock (GdiLock); window procedures and the window manager are never called with it held
// except for the window manager's own short look-ups.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "gdi/gdi.h"
#include "region.h"
#include "surface.h"

namespace gdi_detail {

using Lock = std::unique_lock<std::mutex>;
std::mutex& GdiLock();

struct Object {
  virtual ~Object() = default;
  DWORD type = 0;          // OBJ_*
  bool stock = false;      // never freed
  int selections = 0;      // device contexts holding it selected
};

struct Bitmap : Object {
  Bitmap() { type = OBJ_BITMAP; }
  Surface surface;
  bool dibSection = false;
  BITMAPINFOHEADER header{};
};

struct Brush : Object {
  Brush() { type = OBJ_BRUSH; }
  UINT style = BS_SOLID;
  COLORREF color = 0;
  std::shared_ptr<const Surface> pattern;  // BS_PATTERN: a copy of the bitmap
};

struct Pen : Object {
  Pen() { type = OBJ_PEN; }
  UINT style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
};

struct Font : Object {
  Font() { type = OBJ_FONT; }
  LOGFONTW record{};
  bool systemFont = false;  // the stock font: its height follows the screen's density
};

// What SaveDC keeps.
struct DcState {
  HGDIOBJ bitmap = nullptr, brush = nullptr, pen = nullptr, font = nullptr;
  std::optional<Region> userClip;
  POINT viewport{}, brushOrigin{}, position{};
  COLORREF textColor = 0, backgroundColor = 0xFFFFFF;
  int backgroundMode = OPAQUE;
  UINT textAlign = 0;
};

struct DeviceContext : Object {
  HWND hwnd = nullptr;       // window DCs; null with `memory` false: the screen
  bool memory = false;
  bool wholeWindow = false;  // GetWindowDC: origin at the window's corner
  DcState state;
  std::vector<Region> pushed;  // narrowed clips of the text engine (DC coordinates)
  std::vector<DcState> saved;
  // The window's visible region on the screen and the DC's origin there, as of `version`.
  uint64_t version = 0;
  Region visible;
  POINT origin{};
};

// Handles.
HGDIOBJ Insert(Lock& held, std::shared_ptr<Object> object);
std::shared_ptr<Object> Lookup(Lock& held, HGDIOBJ handle);
void Remove(Lock& held, HGDIOBJ handle);
template <class T>
std::shared_ptr<T> LookupAs(Lock& held, HGDIOBJ handle)
{
  return std::dynamic_pointer_cast<T>(Lookup(held, handle));
}

std::shared_ptr<Brush> MakeBrush(UINT style, COLORREF color);
std::shared_ptr<Pen> MakePen(UINT style, int width, COLORREF color);

HGDIOBJ Stock(Lock& held, int index);
HGDIOBJ StockBitmap(Lock& held);  // the 1x1 bitmap of a new memory DC
LOGFONTW FontRecord(const Font& font);

// The screen's density in dots per inch: 96 for a 240-pixel short side, 192 for 480.
int ScreenDpi();
// The process's screen surface, sized to the screen (remade after a rotation).
std::shared_ptr<Bitmap> ScreenBitmap(Lock& held);
void ReplaceScreenBitmap(Lock& held);

// Bumped whenever a window's visible area changes; window DCs recompute their clip then.
uint64_t GeometryVersion();
void BumpGeometryVersion();

// A device context resolved for drawing: the surface, the clip in surface coordinates, and
// the shift from logical to surface coordinates.
struct Target {
  std::shared_ptr<DeviceContext> dc;
  Surface* surface = nullptr;
  std::shared_ptr<Bitmap> keep;  // holds the surface alive
  Region clip;
  POINT shift{};     // surface = logical + shift
  POINT dcOrigin{};  // surface = DC device coordinates + dcOrigin
};
bool Resolve(Lock& held, HDC dc, Target* target);
// The surface only, for reading (source of a blit): no clip.
bool ResolveSource(Lock& held, HDC dc, Target* target);

// A window's visible region in screen coordinates (client or whole window).
Region VisibleRegion(HWND hwnd, bool clientArea, POINT* origin);

// A DC for a window (client or whole), the update region as its clip when given.
HDC MakeWindowDc(Lock& held, HWND hwnd, bool wholeWindow, const Region* clip);

}  // namespace gdi_detail
