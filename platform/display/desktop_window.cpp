// The desktop window's door in the display: KV_DISPLAY=sdl loads the SDL2 module, which lies
// beside this library, and hands the window to it; otherwise nothing of SDL2 is loaded.
#include "internal/display/desktop_window.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "sdl_module.h"

namespace {

struct SdlModule {
  bool (*open)() = nullptr;
  void (*close)() = nullptr;
};

// The module's path: the folder of this library, where the build puts the module too.
std::string ModulePath()
{
  Dl_info info{};
  std::string path;
  if (dladdr(reinterpret_cast<void*>(&display::OpenDesktopWindow), &info) && info.dli_fname) {
    path = info.dli_fname;
    path.erase(path.find_last_of('/') + 1);
  }
  return path + KV_SDL_MODULE;
}

// Loads the module on the first call (never unloaded: its exit handler closes the window);
// null when it cannot be loaded, said once on standard error.
const SdlModule* LoadedModule(bool load)
{
  static std::mutex lock;
  static SdlModule module;
  static bool tried = false;
  std::lock_guard<std::mutex> held(lock);
  if (!tried && load) {
    tried = true;
    std::string path = ModulePath();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (handle) {
      module.open = reinterpret_cast<bool (*)()>(dlsym(handle, KV_SDL_OPEN_ENTRY));
      module.close = reinterpret_cast<void (*)()>(dlsym(handle, KV_SDL_CLOSE_ENTRY));
    }
    if (!module.open || !module.close) {
      std::fprintf(stderr, "display: no desktop window (%s); the device runs headless\n",
                   handle ? "the SDL2 module lacks its entry points" : dlerror());
      module = {};
    }
  }
  return module.open ? &module : nullptr;
}

}  // namespace

bool display::OpenDesktopWindow()
{
  const char* mode = std::getenv("KV_DISPLAY");
  if (!mode || std::strcmp(mode, "sdl") != 0)
    return false;
  const SdlModule* module = LoadedModule(true);
  return module && module->open();
}

void display::CloseDesktopWindow()
{
  if (const SdlModule* module = LoadedModule(false))
    module->close();
}
