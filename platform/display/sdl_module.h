// The entry points of the SDL2 desktop window module. The display loads the module at run time
// only when KV_DISPLAY asks for the window, so a headless program never maps SDL2 and the many
// libraries it brings (X11, Wayland, audio...).
#pragma once

#define KV_SDL_OPEN_ENTRY "kv_sdl_open_desktop_window"
#define KV_SDL_CLOSE_ENTRY "kv_sdl_close_desktop_window"

extern "C" {
// As display::OpenDesktopWindow, once KV_DISPLAY has asked for the window.
__attribute__((visibility("default"))) bool kv_sdl_open_desktop_window();
// As display::CloseDesktopWindow.
__attribute__((visibility("default"))) void kv_sdl_close_desktop_window();
}
