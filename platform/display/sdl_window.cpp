// The screen in a desktop window for people (SDL2), a module of its own that the display loads
// when KV_DISPLAY is "sdl" (desktop_window.cpp): the process's screen drawn at a zoom (KV_DISPLAY_ZOOM, by default 2 for a 240-pixel short side
// and 1 otherwise), the mouse as the stylus, F1 and F2 as the soft keys, arrows, Enter, Escape
// and Backspace as the device's keys, typed text (the desktop's input method included) as
// characters, F5 to rotate the screen and F6 to raise or lower the soft input panel. Closing
// the window sends WM_CLOSE to the process's top-level windows.
#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <mutex>
#include <string>
#include <thread>

#include "internal/display/input_panel.h"
#include "sdl_module.h"
#include "internal/gdi/screen.h"
#include "internal/user/cursor_link.h"
#include "internal/user/paint_link.h"
#include "internal/user/test_hooks.h"
#include "shell/sip.h"
#include "user/user.h"

namespace {

constexpr Uint32 kFrameMs = 33;

int Zoom(int width, int height)
{
  if (const char* zoom = std::getenv("KV_DISPLAY_ZOOM")) {
    int value = std::atoi(zoom);
    if (value >= 1 && value <= 4)
      return value;
  }
  return std::min(width, height) <= 240 ? 2 : 1;
}

UINT DeviceKey(SDL_Keycode key)
{
  switch (key) {
  case SDLK_F1: return VK_F1;
  case SDLK_F2: return VK_F2;
  case SDLK_UP: return VK_UP;
  case SDLK_DOWN: return VK_DOWN;
  case SDLK_LEFT: return VK_LEFT;
  case SDLK_RIGHT: return VK_RIGHT;
  case SDLK_RETURN:
  case SDLK_KP_ENTER: return VK_RETURN;
  case SDLK_ESCAPE: return VK_ESCAPE;
  case SDLK_BACKSPACE: return VK_BACK;
  case SDLK_DELETE: return VK_DELETE;
  case SDLK_TAB: return VK_TAB;
  default: return 0;
  }
}

// UTF-8 typed text as UTF-16 characters.
std::u16string Utf16(const char* text)
{
  std::u16string out;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p;) {
    char32_t c = *p;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    c &= extra == 3 ? 0x07 : extra == 2 ? 0x0F : extra == 1 ? 0x1F : 0x7F;
    ++p;
    for (int i = 0; i < extra && (*p & 0xC0) == 0x80; ++i, ++p)
      c = (c << 6) | (*p & 0x3F);
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

void ToggleSip()
{
  SIPINFO info{};
  info.cbSize = sizeof info;
  bool shown = SipGetInfo(&info) && (info.fdwFlags & SIPF_ON);
  SipShowIM(shown ? SIPF_OFF : SIPF_ON);
}

void CloseTopLevelWindows()
{
  for (HWND hwnd : user_paint::WindowsOfProcess())
    if (!(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD))
      PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

class DesktopWindow {
 public:
  // Empty when the window is open, else why it is not.
  std::string Open()
  {
    // The screen is small: the software renderer on the window's own pixels draws it at once,
    // with no graphics driver to load, start or end.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
      return SDL_GetError();
    gdi_screen::Image image = gdi_screen::CaptureScreen();
    zoom_ = Zoom(image.width, image.height);
    window_ = SDL_CreateWindow("Korvex device", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                               image.width * zoom_, image.height * zoom_, 0);
    renderer_ = window_ ? SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE) : nullptr;
    if (!renderer_)
      return SDL_GetError();
    SDL_StartTextInput();
    return {};
  }

  // Shows the screen until the window is closed or stop is set (Wake ends the wait for the
  // next frame at once).
  void Run(const std::atomic<bool>& stop)
  {
    while (!quit_ && !stop.load()) {
      SDL_Event event;
      while (SDL_PollEvent(&event))
        Handle(event);
      ShowDeviceCursor();
      Present();
      SDL_WaitEventTimeout(nullptr, kFrameMs);
    }
  }

  // From another thread: ends the window's wait for its next frame.
  static void Wake()
  {
    SDL_Event event{};
    event.type = SDL_USEREVENT;
    SDL_PushEvent(&event);
  }

  ~DesktopWindow()
  {
    for (SDL_Cursor* cursor : cursors_)
      if (cursor)
        SDL_FreeCursor(cursor);
    if (texture_)
      SDL_DestroyTexture(texture_);
    if (renderer_)
      SDL_DestroyRenderer(renderer_);
    if (window_)
      SDL_DestroyWindow(window_);
    SDL_Quit();
  }

 private:
  POINT ScreenPoint(int x, int y) const { return POINT{x / zoom_, y / zoom_}; }

  void Handle(const SDL_Event& event)
  {
    switch (event.type) {
    case SDL_QUIT:
      CloseTopLevelWindows();
      quit_ = true;
      break;
    case SDL_MOUSEBUTTONDOWN:
      if (event.button.button == SDL_BUTTON_LEFT)
        user_test::InjectPointer(user_test::Pointer::down, ScreenPoint(event.button.x, event.button.y));
      break;
    case SDL_MOUSEBUTTONUP:
      if (event.button.button == SDL_BUTTON_LEFT)
        user_test::InjectPointer(user_test::Pointer::up, ScreenPoint(event.button.x, event.button.y));
      break;
    case SDL_MOUSEMOTION:
      if (event.motion.state & SDL_BUTTON_LMASK)
        user_test::InjectPointer(user_test::Pointer::move, ScreenPoint(event.motion.x, event.motion.y));
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      bool down = event.type == SDL_KEYDOWN;
      if (down && !event.key.repeat && event.key.keysym.sym == SDLK_F5)
        gdi_screen::Rotate();
      else if (down && !event.key.repeat && event.key.keysym.sym == SDLK_F6)
        ToggleSip();
      else if (UINT key = DeviceKey(event.key.keysym.sym))
        user_test::InjectKey(key, down);
      break;
    }
    case SDL_TEXTINPUT:
      for (char16_t character : Utf16(event.text.text))
        user_test::InjectCharacter(character);
      break;
    default: break;
    }
  }

  // The wait cursor while the device shows it; otherwise the arrow, since the mouse stands for
  // the stylus and must stay visible.
  void ShowDeviceCursor()
  {
    bool wait = user_cursor::Current() == user_cursor::Shape::wait;
    if (wait == waitShown_)
      return;
    SDL_Cursor*& cursor = cursors_[wait ? 1 : 0];
    if (!cursor)
      cursor = SDL_CreateSystemCursor(wait ? SDL_SYSTEM_CURSOR_WAIT : SDL_SYSTEM_CURSOR_ARROW);
    if (cursor)
      SDL_SetCursor(cursor);
    waitShown_ = wait;
  }

  void Present()
  {
    gdi_screen::Image image = gdi_screen::CaptureScreen();
    display::DrawInputPanel(image);
    if (image.width != width_ || image.height != height_) {
      if (texture_)
        SDL_DestroyTexture(texture_);
      texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, image.width,
                                   image.height);
      width_ = image.width;
      height_ = image.height;
      SDL_SetWindowSize(window_, width_ * zoom_, height_ * zoom_);
    }
    if (!texture_)
      return;
    SDL_UpdateTexture(texture_, nullptr, image.pixels.data(), image.width * 4);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
  }

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  SDL_Cursor* cursors_[2] = {nullptr, nullptr};  // arrow, wait
  bool waitShown_ = false;
  int zoom_ = 1;
  int width_ = 0;
  int height_ = 0;
  bool quit_ = false;
};

// The window's thread; it lives through exit, for an exit handler that closes the window.
struct WindowThread {
  std::mutex lock;
  std::thread thread;
  std::atomic<bool> stop{false};
};

WindowThread& Current()
{
  static WindowThread* current = new WindowThread;
  return *current;
}

}  // namespace

bool kv_sdl_open_desktop_window()
{
  WindowThread& current = Current();
  std::lock_guard<std::mutex> held(current.lock);
  if (current.thread.joinable())
    return true;
  current.stop = false;
  std::promise<std::string> opened;
  std::future<std::string> failure = opened.get_future();
  current.thread = std::thread([&stop = current.stop, opened = std::move(opened)]() mutable {
    DesktopWindow window;
    std::string why = window.Open();
    bool open = why.empty();
    opened.set_value(std::move(why));
    if (open)
      window.Run(stop);
  });
  std::string why = failure.get();
  if (!why.empty()) {
    current.thread.join();
    static std::once_flag told;
    std::call_once(told, [&] {
      std::fprintf(stderr, "display: no desktop window (%s); the device runs headless\n", why.c_str());
    });
    return false;
  }
  // Registered once the window is open, so it runs before the exit handlers of everything the
  // window uses.
  static std::once_flag handler;
  std::call_once(handler, [] { std::atexit(kv_sdl_close_desktop_window); });
  return true;
}

void kv_sdl_close_desktop_window()
{
  WindowThread& current = Current();
  std::lock_guard<std::mutex> held(current.lock);
  if (!current.thread.joinable())
    return;
  current.stop = true;
  DesktopWindow::Wake();
  current.thread.join();
}
