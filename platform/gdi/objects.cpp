// Drawing objects: the handle table, stock objects, creation, selection and deletion.
#include <algorithm>
#include <cstring>

#include "base/errors.h"
#include "base/lasterror.h"
#include "objects_internal.h"

namespace gdi_detail {

namespace {

struct Slot {
  uint32_t generation = 1;
  std::shared_ptr<Object> object;
};

struct Table {
  std::vector<Slot> slots;
  std::vector<uint32_t> freeSlots;
  std::vector<HGDIOBJ> stock;  // by stock index; null where there is none
  HGDIOBJ stockBitmap = nullptr;
};

Table& table()
{
  static Table* instance = new Table;  // lives as long as the process
  return *instance;
}

// Handle: a tag, the slot's generation and its index (from 1).
constexpr uint64_t kTag = 0x47ull << 56;

uint64_t Value(HGDIOBJ handle) { return reinterpret_cast<uint64_t>(handle); }

std::shared_ptr<Object> MakeStock(int index)
{
  switch (index) {
  case WHITE_BRUSH: return MakeBrush(BS_SOLID, RGB(255, 255, 255));
  case LTGRAY_BRUSH: return MakeBrush(BS_SOLID, RGB(192, 192, 192));
  case GRAY_BRUSH: return MakeBrush(BS_SOLID, RGB(128, 128, 128));
  case DKGRAY_BRUSH: return MakeBrush(BS_SOLID, RGB(64, 64, 64));
  case BLACK_BRUSH: return MakeBrush(BS_SOLID, RGB(0, 0, 0));
  case NULL_BRUSH: return MakeBrush(BS_NULL, 0);
  case WHITE_PEN: return MakePen(PS_SOLID, 1, RGB(255, 255, 255));
  case BLACK_PEN: return MakePen(PS_SOLID, 1, RGB(0, 0, 0));
  case NULL_PEN: return MakePen(PS_NULL, 1, 0);
  case SYSTEM_FONT:
  case DEFAULT_GUI_FONT: {
    auto font = std::make_shared<Font>();
    font->systemFont = true;
    font->record.lfWeight = FW_NORMAL;
    font->record.lfCharSet = DEFAULT_CHARSET;
    static const char16_t face[] = u"Tahoma";
    std::memcpy(font->record.lfFaceName, face, sizeof face);
    return font;
  }
  default: return nullptr;
  }
}

}  // namespace

std::shared_ptr<Brush> MakeBrush(UINT style, COLORREF color)
{
  auto brush = std::make_shared<Brush>();
  brush->style = style;
  brush->color = color & 0xFFFFFF;
  return brush;
}

std::shared_ptr<Pen> MakePen(UINT style, int width, COLORREF color)
{
  auto pen = std::make_shared<Pen>();
  pen->style = style;
  pen->width = std::max(1, width);
  pen->color = color & 0xFFFFFF;
  return pen;
}

std::mutex& GdiLock()
{
  static std::mutex* lock = new std::mutex;
  return *lock;
}

HGDIOBJ Insert(Lock&, std::shared_ptr<Object> object)
{
  auto& t = table();
  uint32_t index;
  if (!t.freeSlots.empty()) {
    index = t.freeSlots.back();
    t.freeSlots.pop_back();
  } else {
    if (t.slots.size() >= 0xFFFFFF) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
    index = static_cast<uint32_t>(t.slots.size());
    t.slots.emplace_back();
  }
  Slot& slot = t.slots[index];
  slot.object = std::move(object);
  return reinterpret_cast<HGDIOBJ>(kTag | (static_cast<uint64_t>(slot.generation) << 24) | (index + 1));
}

std::shared_ptr<Object> Lookup(Lock&, HGDIOBJ handle)
{
  uint64_t value = Value(handle);
  if ((value & (0xFFull << 56)) != kTag)
    return nullptr;
  uint64_t index = (value & 0xFFFFFF);
  uint32_t generation = static_cast<uint32_t>((value >> 24) & 0xFFFFFFFF);
  auto& t = table();
  if (index == 0 || index > t.slots.size())
    return nullptr;
  Slot& slot = t.slots[index - 1];
  return slot.generation == generation ? slot.object : nullptr;
}

void Remove(Lock& held, HGDIOBJ handle)
{
  if (!Lookup(held, handle))
    return;
  uint32_t index = static_cast<uint32_t>(Value(handle) & 0xFFFFFF) - 1;
  auto& t = table();
  t.slots[index].object.reset();
  t.slots[index].generation = (t.slots[index].generation + 1) & 0xFFFFFFFF;
  if (t.slots[index].generation == 0)
    t.slots[index].generation = 1;
  t.freeSlots.push_back(index);
}

HGDIOBJ Stock(Lock& held, int index)
{
  auto& t = table();
  if (index < 0 || index > DEFAULT_GUI_FONT)
    return nullptr;
  if (t.stock.empty())
    t.stock.assign(DEFAULT_GUI_FONT + 1, nullptr);
  if (!t.stock[static_cast<size_t>(index)]) {
    auto object = MakeStock(index);
    if (!object)
      return nullptr;
    object->stock = true;
    t.stock[static_cast<size_t>(index)] = Insert(held, object);
  }
  return t.stock[static_cast<size_t>(index)];
}

HGDIOBJ StockBitmap(Lock& held)
{
  auto& t = table();
  if (!t.stockBitmap) {
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->stock = true;
    bitmap->surface.Allocate(1, 1);
    t.stockBitmap = Insert(held, bitmap);
  }
  return t.stockBitmap;
}

LOGFONTW FontRecord(const Font& font)
{
  LOGFONTW record = font.record;
  if (font.systemFont)
    record.lfHeight = -12 * ScreenDpi() / 96;
  return record;
}

}  // namespace gdi_detail

using namespace gdi_detail;

HGDIOBJ GetStockObject(int object)
{
  Lock held(GdiLock());
  return Stock(held, object);
}

DWORD GetObjectType(HGDIOBJ handle)
{
  Lock held(GdiLock());
  auto object = Lookup(held, handle);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return object->type;
}

namespace {

// Swaps the DC's selection slot for `kind` to the new object; returns the previous handle.
HGDIOBJ Swap(Lock& held, HGDIOBJ& slot, HGDIOBJ handle)
{
  HGDIOBJ previous = slot;
  if (auto old = Lookup(held, previous))
    old->selections--;
  if (auto now = Lookup(held, handle))
    now->selections++;
  slot = handle;
  return previous;
}

}  // namespace

HGDIOBJ SelectObject(HDC dc, HGDIOBJ handle)
{
  Lock held(GdiLock());
  auto context = LookupAs<DeviceContext>(held, dc);
  auto object = Lookup(held, handle);
  if (!context || !object || object == context) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  DcState& s = context->state;
  switch (object->type) {
  case OBJ_BRUSH: return Swap(held, s.brush, handle);
  case OBJ_PEN: return Swap(held, s.pen, handle);
  case OBJ_FONT: return Swap(held, s.font, handle);
  case OBJ_BITMAP: {
    // Only memory DCs take bitmaps, and a bitmap is in one DC at a time.
    if (!context->memory || (!object->stock && object->selections > 0 && s.bitmap != handle)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
    if (s.bitmap == handle)
      return handle;
    return Swap(held, s.bitmap, handle);
  }
  default: SetLastError(ERROR_INVALID_HANDLE); return nullptr;
  }
}

BOOL DeleteObject(HGDIOBJ handle)
{
  Lock held(GdiLock());
  auto object = Lookup(held, handle);
  if (!object || object->type == OBJ_DC || object->type == OBJ_MEMDC) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (object->stock)
    return TRUE;
  if (object->selections > 0) {
    SetLastError(ERROR_BUSY);
    return FALSE;
  }
  Remove(held, handle);
  return TRUE;
}

HGDIOBJ GetCurrentObject(HDC dc, UINT kind)
{
  Lock held(GdiLock());
  auto context = LookupAs<DeviceContext>(held, dc);
  if (!context)
    return nullptr;
  switch (kind) {
  case OBJ_BRUSH: return context->state.brush;
  case OBJ_PEN: return context->state.pen;
  case OBJ_FONT: return context->state.font;
  case OBJ_BITMAP: return context->memory ? context->state.bitmap : nullptr;
  default: return nullptr;
  }
}

int GetObjectW(HGDIOBJ handle, int bufferBytes, LPVOID buffer)
{
  Lock held(GdiLock());
  auto object = Lookup(held, handle);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  auto give = [&](const void* record, int size) {
    if (!buffer)
      return size;
    int n = std::min(size, bufferBytes);
    if (n <= 0)
      return 0;
    std::memcpy(buffer, record, static_cast<size_t>(n));
    return n;
  };
  if (auto bitmap = std::dynamic_pointer_cast<Bitmap>(object)) {
    DIBSECTION ds{};
    ds.dsBm = BITMAP{0, bitmap->surface.width, bitmap->surface.height, bitmap->surface.width * 4, 1, 32,
                     bitmap->dibSection ? bitmap->surface.bits : nullptr};
    ds.dsBmih = bitmap->header;
    if (bitmap->dibSection && bufferBytes >= static_cast<int>(sizeof(DIBSECTION)))
      return give(&ds, sizeof ds);
    return give(&ds.dsBm, sizeof(BITMAP));
  }
  if (auto brush = std::dynamic_pointer_cast<Brush>(object)) {
    LOGBRUSH record{brush->style, brush->color, 0};
    return give(&record, sizeof record);
  }
  if (auto pen = std::dynamic_pointer_cast<Pen>(object)) {
    LOGPEN record{pen->style, POINT{pen->width, 0}, pen->color};
    return give(&record, sizeof record);
  }
  if (auto font = std::dynamic_pointer_cast<Font>(object)) {
    LOGFONTW record = FontRecord(*font);
    return give(&record, sizeof record);
  }
  SetLastError(ERROR_INVALID_HANDLE);
  return 0;
}

HBRUSH CreateSolidBrush(COLORREF color)
{
  LOGBRUSH record{BS_SOLID, color, 0};
  return CreateBrushIndirect(&record);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* record)
{
  if (!record || (record->lbStyle != BS_SOLID && record->lbStyle != BS_NULL)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto brush = MakeBrush(record->lbStyle, record->lbColor);
  Lock held(GdiLock());
  return static_cast<HBRUSH>(Insert(held, brush));
}

HBRUSH CreatePatternBrush(HBITMAP handle)
{
  Lock held(GdiLock());
  auto bitmap = LookupAs<Bitmap>(held, handle);
  if (!bitmap || bitmap->surface.width <= 0 || bitmap->surface.height <= 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  auto pattern = std::make_shared<Surface>();
  pattern->Allocate(bitmap->surface.width, bitmap->surface.height);
  for (int y = 0; y < pattern->height; ++y)
    std::memcpy(pattern->Row(y), bitmap->surface.Row(y), static_cast<size_t>(pattern->width) * 4);
  auto brush = std::make_shared<Brush>();
  brush->style = BS_PATTERN;
  brush->pattern = pattern;
  return static_cast<HBRUSH>(Insert(held, brush));
}

HPEN CreatePen(int style, int width, COLORREF color)
{
  if (style != PS_SOLID && style != PS_DASH && style != PS_NULL) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto pen = MakePen(static_cast<UINT>(style), width, color);
  Lock held(GdiLock());
  return static_cast<HPEN>(Insert(held, pen));
}

HPEN CreatePenIndirect(const LOGPEN* record)
{
  if (!record) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreatePen(static_cast<int>(record->lopnStyle), record->lopnWidth.x, record->lopnColor);
}

HFONT CreateFontIndirectW(const LOGFONTW* record)
{
  if (!record) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto font = std::make_shared<Font>();
  font->record = *record;
  font->record.lfFaceName[LF_FACESIZE - 1] = 0;
  Lock held(GdiLock());
  return static_cast<HFONT>(Insert(held, font));
}
