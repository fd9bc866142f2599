#include "screen_layout.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <mutex>

#include "input_panel.h"
#include "user/user.h"

namespace shell {
namespace {

// The panel's height at 96 dots per inch.
constexpr int kSipHeight = 80;

const InputMethod kInputMethods[] = {
    {u"键盘", {0x42429667, 0xae04, 0x11d0, {0xa4, 0xf8, 0x00, 0xaa, 0x00, 0xa7, 0x49, 0xb9}}},
    {u"拼音", {0x4b3b7e0d, 0x52a3, 0x4f0c, {0x9a, 0x1e, 0x3c, 0x51, 0x7e, 0x20, 0x9d, 0x61}}},
    {u"手写", {0x8f1c2a53, 0x6d0b, 0x4e7a, {0xb4, 0x42, 0x5e, 0x17, 0x0c, 0x93, 0x2d, 0xf8}}},
};

struct State {
  std::mutex lock;
  bool taskBarShown = true;
  bool sipOn = false;
  size_t inputMethod = 0;
};

State& state()
{
  static State* shared = new State;
  return *shared;
}

int ScaledToScreen(int pixelsAt96)
{
  int shortSide = std::min(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  return pixelsAt96 * std::max(1, shortSide / 240);
}

// The panel changed: every top-level window of the process hears of it.
void PostSipChange()
{
  PostMessageW(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETSIPINFO, 0);
}

bool SameClsid(const CLSID& a, const CLSID& b)
{
  return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

RECT WorkArea()
{
  bool shown;
  {
    std::lock_guard held(state().lock);
    shown = state().taskBarShown;
  }
  return RECT{0, shown ? GetSystemMetrics(SM_CYCAPTION) : 0, GetSystemMetrics(SM_CXSCREEN),
              GetSystemMetrics(SM_CYSCREEN)};
}

RECT AboveSoftKeyBar()
{
  RECT area = WorkArea();
  area.bottom -= GetSystemMetrics(SM_CYCAPTION);
  return area;
}

RECT SipRect()
{
  int bottom = GetSystemMetrics(SM_CYSCREEN) - GetSystemMetrics(SM_CYCAPTION);
  return RECT{0, bottom - ScaledToScreen(kSipHeight), GetSystemMetrics(SM_CXSCREEN), bottom};
}

RECT VisibleDesktop()
{
  RECT visible = AboveSoftKeyBar();
  if (IsSipOn()) {
    visible.bottom = SipRect().top;
  }
  return visible;
}

void ShowTaskBar(bool shown)
{
  std::lock_guard held(state().lock);
  state().taskBarShown = shown;
}

bool IsSipOn()
{
  std::lock_guard held(state().lock);
  return state().sipOn;
}

void SetSipOn(bool on)
{
  {
    std::lock_guard held(state().lock);
    if (state().sipOn == on) {
      return;
    }
    state().sipOn = on;
  }
  UpdateInputPanelWindow();
  PostSipChange();
}

const InputMethod* InputMethods(size_t* count)
{
  *count = std::size(kInputMethods);
  return kInputMethods;
}

CLSID CurrentInputMethod()
{
  std::lock_guard held(state().lock);
  return kInputMethods[state().inputMethod].clsid;
}

bool SetCurrentInputMethod(const CLSID& clsid)
{
  const InputMethod* found = std::find_if(std::begin(kInputMethods), std::end(kInputMethods),
                                          [&](const InputMethod& method) { return SameClsid(method.clsid, clsid); });
  if (found == std::end(kInputMethods)) {
    return false;
  }
  {
    std::lock_guard held(state().lock);
    size_t index = static_cast<size_t>(found - std::begin(kInputMethods));
    if (state().inputMethod == index) {
      return true;
    }
    state().inputMethod = index;
  }
  PostSipChange();
  return true;
}

}  // namespace shell
