// TrackPopupMenuEx: the menu's own message loop. Taps and keys of the calling thread go to the
// menu while it is open; everything else is dispatched as usual.
#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/thread.h"
#include "menu_popup.h"

using namespace user_menu;

namespace {

// The menus tracked on this thread (one at a time).
thread_local bool tracking = false;

enum class Outcome { open, chosen, cancelled };

class Tracker {
 public:
  explicit Tracker(Popup& popup) : popup_(popup) {}

  Outcome outcome() const { return outcome_; }
  UINT chosen() const { return chosen_; }

  // Takes the message when it belongs to the menu; false lets it be dispatched.
  bool Take(const MSG& msg)
  {
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
      if (msg.message == WM_KEYDOWN)
        Key(static_cast<UINT>(msg.wParam));
      return true;
    }
    if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
      Pointer(msg);
      return true;
    }
    return false;
  }

  void Cancel() { outcome_ = Outcome::cancelled; }

 private:
  void Key(UINT key)
  {
    switch (key) {
      case VK_ESCAPE:
        Cancel();
        break;
      case VK_RETURN:
        if (popup_.selected >= 0)
          Choose(popup_.selected);
        break;
      case VK_DOWN:
        Step(1);
        break;
      case VK_UP:
        Step(-1);
        break;
      default:
        break;
    }
  }

  // Moves the selection to the next item that is not a separator, wrapping around.
  void Step(int direction)
  {
    int count = static_cast<int>(popup_.items.size());
    int at = popup_.selected;
    for (int tries = 0; tries < count; ++tries) {
      at = at < 0 ? (direction > 0 ? 0 : count - 1) : (at + direction + count) % count;
      if (popup_.items[static_cast<size_t>(at)].item.type != MFT_SEPARATOR) {
        Select(at);
        return;
      }
    }
  }

  void Pointer(const MSG& msg)
  {
    if (msg.hwnd != popup_.window) {
      // Queued before the menu took the pointer: a press elsewhere dismisses the menu; the
      // release of the tap that opened it is dropped.
      if (msg.message == WM_LBUTTONDOWN)
        Cancel();
      return;
    }
    POINT at{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    bool inside = at.x >= 0 && at.y >= 0 && at.x < popup_.client.cx && at.y < popup_.client.cy;
    switch (msg.message) {
      case WM_LBUTTONDOWN:
        pressed_ = true;
        if (!inside) {
          Cancel();
          return;
        }
        Select(ItemAt(popup_, at));
        break;
      case WM_MOUSEMOVE:
        if (pressed_ && (msg.wParam & MK_LBUTTON))
          Select(ItemAt(popup_, at));
        break;
      case WM_LBUTTONUP: {
        // The release of the tap that opened the menu comes before any press of its own.
        if (!pressed_)
          return;
        pressed_ = false;
        int item = ItemAt(popup_, at);
        if (item >= 0)
          Choose(item);
        break;
      }
      default:
        break;
    }
  }

  void Select(int item)
  {
    if (item == popup_.selected)
      return;
    popup_.selected = item;
    Repaint(popup_);
  }

  void Choose(int item)
  {
    const MenuItem& chosen = popup_.items[static_cast<size_t>(item)].item;
    if (!IsChoosable(chosen))
      return;
    chosen_ = chosen.id;
    outcome_ = Outcome::chosen;
  }

  Popup& popup_;
  Outcome outcome_ = Outcome::open;
  UINT chosen_ = 0;
  bool pressed_ = false;
};

struct TrackingScope {
  TrackingScope() { tracking = true; }
  ~TrackingScope() { tracking = false; }
};

}  // namespace

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS)
{
  if (!IsMenu(menu))
    return FALSE;
  if (!IsWindow(owner) || GetWindowThreadProcessId(owner, nullptr) != GetCurrentThreadId()) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (tracking) {
    SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
    return FALSE;
  }
  TrackingScope scope;
  SendMessageW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);

  Popup popup;
  popup.menu = menu;
  popup.owner = owner;
  std::vector<MenuItem> items;
  if (!SnapshotItems(menu, items))
    return FALSE;
  if (items.empty())
    return FALSE;
  for (MenuItem& item : items)
    popup.items.push_back({std::move(item), {}});
  LayOutItems(popup);
  if (!CreatePopupWindow(popup, flags, x, y))
    return FALSE;
  ShowWindow(popup.window, SW_SHOWNOACTIVATE);
  Repaint(popup);
  SetCapture(popup.window);

  Tracker tracker(popup);
  MSG msg;
  while (tracker.outcome() == Outcome::open) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      // The thread is asked to end: close the menu and leave the quit for the outer loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      tracker.Cancel();
      break;
    }
    if (got < 0 || !IsWindow(owner) || !IsWindow(popup.window)) {
      tracker.Cancel();
      break;
    }
    if (tracker.Take(msg))
      continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }

  if (GetCapture() == popup.window)
    ReleaseCapture();
  DestroyWindow(popup.window);

  UINT chosen = tracker.outcome() == Outcome::chosen ? tracker.chosen() : 0;
  if (flags & TPM_RETURNCMD)
    return static_cast<BOOL>(chosen);
  if (chosen && IsWindow(owner))
    PostMessageW(owner, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
  return TRUE;
}
