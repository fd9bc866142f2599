// Block transfers: copies, stretches, alpha blends and colour-keyed copies between surfaces.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/errors.h"
#include "base/lasterror.h"
#include "painter.h"

using namespace gdi_detail;

namespace {

struct Source {
  const Surface* surface = nullptr;
  std::shared_ptr<Bitmap> keep;
  POINT shift{};  // surface = logical + shift
};

bool SourceFromDc(Lock& held, HDC dc, Source* source)
{
  Target target;
  if (!ResolveSource(held, dc, &target))
    return false;
  source->surface = target.surface;
  source->keep = target.keep;
  source->shift = target.shift;
  return true;
}

bool SourceFromHandle(Lock& held, HANDLE handle, Source* source)
{
  if (auto bitmap = LookupAs<Bitmap>(held, handle)) {
    source->keep = bitmap;
    source->surface = &bitmap->surface;
    source->shift = POINT{};
    return true;
  }
  return SourceFromDc(held, static_cast<HDC>(handle), source);
}

// Maps destination pixels to source pixels along one axis: nearest pixel, mirrored when the
// signs differ. In 64 bits, so that no size or place given wraps round.
struct Mapping {
  int64_t destLeft, destWidth;
  int64_t sourceLeft, sourceWidth;
  bool mirror;
  Mapping(int x, int w, int sx, int sw)
      : destLeft(std::min<int64_t>(x, int64_t{x} + w)), destWidth(std::abs(int64_t{w})),
        sourceLeft(std::min<int64_t>(sx, int64_t{sx} + sw)), sourceWidth(std::abs(int64_t{sw})),
        mirror((w < 0) != (sw < 0))
  {
  }
  // Source offset (from sourceLeft) of the destination offset i (from destLeft).
  int64_t operator()(int64_t i) const
  {
    int64_t j;
    if (sourceWidth == destWidth)
      j = i;
    else if (i < (int64_t{1} << 30) && sourceWidth < (int64_t{1} << 31))  // no overflow in 64 bits
      j = (2 * i + 1) * sourceWidth / (2 * destWidth);
    else
      j = static_cast<int64_t>((2 * static_cast<__int128>(i) + 1) * sourceWidth / (2 * static_cast<__int128>(destWidth)));
    return mirror ? sourceWidth - 1 - j : j;
  }
};

// Runs op(dest pixel, source pixel) over the destination rectangle through the clip. Source
// pixels outside the source surface are left alone. The mapping is worked out once per column
// and once per row, not per pixel; a column range copied 1:1 runs as one straight loop.
template <class Op>
BOOL Transfer(HDC destDc, int x, int y, int w, int h, Lock& held, Source source, int sx, int sy, int sw, int sh, Op op)
{
  Target target;
  if (!Resolve(held, destDc, &target))
    return FALSE;
  if (w == 0 || h == 0 || sw == 0 || sh == 0)
    return TRUE;
  Mapping mx(x, w, sx, sw), my(y, h, sy, sh);
  // Reading and writing one surface: work from a copy of the source.
  Surface copy;
  if (source.surface == target.surface) {
    copy.Allocate(source.surface->width, source.surface->height);
    for (int row = 0; row < copy.height; ++row)
      std::memcpy(copy.Row(row), source.surface->Row(row), static_cast<size_t>(copy.width) * 4);
    source.surface = &copy;
  }
  const Surface& from = *source.surface;
  // The destination's top-left on the surface, unclamped; the area drawn is clamped.
  const int64_t left = mx.destLeft + target.shift.x, top = my.destLeft + target.shift.y;
  RECT area{Saturated(left), Saturated(top), Saturated(left + mx.destWidth), Saturated(top + my.destWidth)};
  const bool straight = !mx.mirror && mx.sourceWidth == mx.destWidth;
  std::vector<int> columns;  // the source column of each column of a part, -1 off the source
  ForEachClipped(target, area, [&](const RECT& part) {
    int first = part.left, last = part.right;  // the part's columns that read the source
    if (straight) {
      const int64_t offset = mx.sourceLeft + source.shift.x - left;  // source column = column + offset
      first = static_cast<int>(std::clamp<int64_t>(-offset, part.left, part.right));
      last = static_cast<int>(std::clamp<int64_t>(from.width - offset, first, part.right));
    } else {
      columns.resize(static_cast<size_t>(part.right - part.left));
      for (int dx = part.left; dx < part.right; ++dx) {
        int64_t fx = mx.sourceLeft + mx(dx - left) + source.shift.x;
        columns[static_cast<size_t>(dx - part.left)] = fx >= 0 && fx < from.width ? static_cast<int>(fx) : -1;
      }
    }
    for (int dy = part.top; dy < part.bottom; ++dy) {
      int64_t fy = my.sourceLeft + my(dy - top) + source.shift.y;
      if (fy < 0 || fy >= from.height)
        continue;
      const uint32_t* in = from.Row(static_cast<int>(fy));
      uint32_t* out = target.surface->Row(dy);
      if (straight) {
        if (first < last) {
          const uint32_t* read = in + (mx.sourceLeft + source.shift.x - left + first);
          for (int dx = first; dx < last; ++dx)
            op(out[dx], *read++);
        }
        continue;
      }
      for (int dx = part.left; dx < part.right; ++dx) {
        int fx = columns[static_cast<size_t>(dx - part.left)];
        if (fx >= 0)
          op(out[dx], in[fx]);
      }
    }
  });
  return TRUE;
}

uint32_t BlendChannel(uint32_t dest, uint32_t source, int shift, uint32_t sourceWeight, uint32_t destWeight)
{
  uint32_t d = (dest >> shift) & 0xFF, s = (source >> shift) & 0xFF;
  uint32_t value = (s * sourceWeight + d * destWeight + 127) / 255;
  return std::min<uint32_t>(value, 255) << shift;
}

}  // namespace

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC sourceDc, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight, DWORD rop)
{
  switch (rop) {
  case PATCOPY:
  case BLACKNESS:
  case WHITENESS:
  case DSTINVERT: return PatBlt(dest, x, y, width, height, rop);
  default: break;
  }
  Lock held(GdiLock());
  Source source;
  if (!SourceFromDc(held, sourceDc, &source))
    return FALSE;
  auto run = [&](auto op) {
    return Transfer(dest, x, y, width, height, held, source, sourceX, sourceY, sourceWidth, sourceHeight, op);
  };
  switch (rop) {
  case SRCCOPY: return run([](uint32_t& d, uint32_t s) { d = s; });
  case SRCAND: return run([](uint32_t& d, uint32_t s) { d &= s; });
  case SRCPAINT: return run([](uint32_t& d, uint32_t s) { d |= s; });
  case SRCINVERT: return run([](uint32_t& d, uint32_t s) { d ^= s; });
  default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
  }
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop)
{
  if (width < 0 || height < 0)
    return FALSE;
  return StretchBlt(dest, x, y, width, height, source, sourceX, sourceY, width, height, rop);
}

BOOL AlphaBlend(HDC dest, int x, int y, int width, int height, HDC sourceDc, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight, BLENDFUNCTION blend)
{
  if (blend.BlendOp != AC_SRC_OVER || width < 0 || height < 0 || sourceWidth < 0 || sourceHeight < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Lock held(GdiLock());
  Source source;
  if (!SourceFromDc(held, sourceDc, &source))
    return FALSE;
  uint32_t constant = blend.SourceConstantAlpha;
  bool perPixel = (blend.AlphaFormat & AC_SRC_ALPHA) != 0;
  auto op = [&](uint32_t& d, uint32_t s) {
    uint32_t sourceWeight = constant;
    uint32_t destWeight = 255 - constant;
    if (perPixel) {
      // Premultiplied source: its colours already carry its own alpha.
      uint32_t alpha = ((s >> 24) * constant + 127) / 255;
      destWeight = 255 - alpha;
    }
    d = BlendChannel(d, s, 0, sourceWeight, destWeight) | BlendChannel(d, s, 8, sourceWeight, destWeight) |
        BlendChannel(d, s, 16, sourceWeight, destWeight) | BlendChannel(d, s, 24, sourceWeight, destWeight);
  };
  return Transfer(dest, x, y, width, height, held, source, sourceX, sourceY, sourceWidth, sourceHeight, op);
}

BOOL TransparentImage(HDC dest, int x, int y, int width, int height, HANDLE sourceHandle, int sourceX, int sourceY,
                      int sourceWidth, int sourceHeight, COLORREF transparent)
{
  Lock held(GdiLock());
  Source source;
  if (!SourceFromHandle(held, sourceHandle, &source))
    return FALSE;
  uint32_t keyPixel = ToPixel(transparent & 0xFFFFFF);
  auto op = [keyPixel](uint32_t& d, uint32_t s) {
    if ((s & 0xFFFFFF) != keyPixel)
      d = s;
  };
  return Transfer(dest, x, y, width, height, held, source, sourceX, sourceY, sourceWidth, sourceHeight, op);
}

BOOL TransparentBlt(HDC dest, int x, int y, int width, int height, HDC sourceDc, int sourceX, int sourceY,
                    int sourceWidth, int sourceHeight, UINT transparent)
{
  // A DC is one of the sources TransparentImage takes.
  return TransparentImage(dest, x, y, width, height, sourceDc, sourceX, sourceY, sourceWidth, sourceHeight,
                          transparent);
}
