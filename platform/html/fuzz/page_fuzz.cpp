// Any markup through the page: parsed, laid out at both screen sizes and painted, never a
// crash, a hang or a leak.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "internal/html/page.h"
#include "testing/device_root.h"
#include "windows.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  static device::testing::ScopedDeviceRoot root;
  static HDC dc = [] {
    HDC made = CreateCompatibleDC(nullptr);
    SelectObject(made, CreateCompatibleBitmap(made, 480, 640));
    return made;
  }();
  kv::html::Page page(std::string_view(reinterpret_cast<const char*>(data), size),
                      kv::html::PageSettings{96, [](std::string_view) { return std::optional<std::string>(); }, {}, {}, {}});
  for (SIZE view : {SIZE{240, 320}, SIZE{480, 640}}) {
    page.LayOut(view.cx, view.cy);
    page.Paint(dc, POINT{0, -page.Height() / 2}, RECT{0, 0, view.cx, view.cy});
  }
  for (const kv::html::PageLink& link : page.Links())
    if (link.boxes.empty())
      __builtin_trap();
  return 0;
}
