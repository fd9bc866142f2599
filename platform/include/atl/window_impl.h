// Window classes with message maps: CWindowImpl registers its own window class (or a
// superclass of an existing one) and routes the window's messages to ProcessWindowMessage; it
// can also subclass an existing window. The window procedure is a closure bound to the object.
#pragma once

#include <string>

#include "atl/message_map.h"
#include "atl/window.h"
#include "base/errors.h"
#include "base/lasterror.h"

// The object whose window is being created on this thread, for the window's first message.
void AtlAddCreateWndData(void* object);
void* AtlExtractCreateWndData();
// Drops the object's record when it is still the innermost one.
void AtlRemoveCreateWndData(void* object);

// Styles of a window class.
template <DWORD style, DWORD exStyle = 0>
class CWinTraits {
 public:
  static DWORD GetWndStyle(DWORD given) { return given == 0 ? style : given; }
  static DWORD GetWndExStyle(DWORD given) { return given == 0 ? exStyle : given; }
};
typedef CWinTraits<WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0> CControlWinTraits;
typedef CWinTraits<WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_APPWINDOW | WS_EX_WINDOWEDGE>
    CFrameWinTraits;

// The class a window implementation registers: its own, or a superclass of `baseClass`, whose
// procedure then becomes the implementation's default procedure. Without a name the class gets
// one of its own.
struct CWndClassInfo {
  const WCHAR* name;
  const WCHAR* baseClass;  // null: not a superclass
  UINT style;
  std::u16string registeredName;
  WNDPROC baseProc = nullptr;

  // The registered class's name; null when it could not be registered.
  LPCWSTR Register(WNDPROC startProc, WNDPROC* defaultProc)
  {
    if (registeredName.empty()) {
      WNDCLASSW wc{};
      if (baseClass) {
        if (!::GetClassInfoW(nullptr, baseClass, &wc))
          return nullptr;
        baseProc = wc.lpfnWndProc;
      } else {
        wc.style = style;
      }
      std::u16string className = name ? std::u16string(name) : GeneratedName();
      wc.lpfnWndProc = startProc;
      wc.lpszClassName = className.c_str();
      if (!::RegisterClassW(&wc))
        return nullptr;
      registeredName = std::move(className);
    }
    if (baseProc)
      *defaultProc = baseProc;
    return registeredName.c_str();
  }

 private:
  std::u16string GeneratedName() const
  {
    static const char digits[] = "0123456789ABCDEF";
    std::u16string text = u"ATL:";
    auto value = reinterpret_cast<uintptr_t>(this);
    for (int shift = static_cast<int>(sizeof value * 8) - 4; shift >= 0; shift -= 4)
      text.push_back(static_cast<char16_t>(digits[(value >> shift) & 0xF]));
    return text;
  }
};

#define DECLARE_WND_CLASS(WndClassName)                                                    \
  static CWndClassInfo& GetWndClassInfo()                                                  \
  {                                                                                        \
    static CWndClassInfo wc{WndClassName, nullptr, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, {}};     \
    return wc;                                                                             \
  }
#define DECLARE_WND_SUPERCLASS(WndClassName, OrigWndClassName)          \
  static CWndClassInfo& GetWndClassInfo()                               \
  {                                                                     \
    static CWndClassInfo wc{WndClassName, OrigWndClassName, 0, {}};      \
    return wc;                                                          \
  }

// Reflection and forwarding of notifications, for every class with a window and a map.
template <class TBase = CWindow>
class CWindowImplRoot : public TBase, public CMessageMap {
 public:
  const MSG* m_pCurrentMsg = nullptr;

  ~CWindowImplRoot() override { ::FreeWindowProc(m_thunk); }

  // Sends a notification on to the parent.
  LRESULT ForwardNotifications(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
  {
    switch (uMsg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return ::SendMessageW(this->GetParent(), uMsg, wParam, lParam);
    default:
      bHandled = FALSE;
      return 0;
    }
  }

  // Sends a notification back to the child that sent it, as OCM__BASE + the message. The child
  // is lParam for commands, scroll bars and colours, hwndFrom for WM_NOTIFY, the record's
  // hwndItem for drawing an owner-drawn item and the item with the id in wParam for the other
  // owner-drawn messages (a menu's items, with wParam 0, are not reflected).
  LRESULT ReflectNotifications(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
  {
    HWND child = nullptr;
    switch (uMsg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      child = reinterpret_cast<HWND>(lParam);
      break;
    case WM_NOTIFY:
      child = lParam ? reinterpret_cast<LPNMHDR>(lParam)->hwndFrom : nullptr;
      break;
    case WM_DRAWITEM:
      // The record names the control, so one that lives inside another window (a scroll
      // panel's viewport) is found too; without a record, by the id.
      if (wParam && lParam && reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem)
        child = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
      else if (wParam)
        child = ::GetDlgItem(this->m_hWnd, static_cast<int>(wParam));
      break;
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
      if (wParam)
        child = ::GetDlgItem(this->m_hWnd, static_cast<int>(wParam));
      break;
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
      child = reinterpret_cast<HWND>(lParam);
      break;
    default:
      break;
    }
    if (!child || !::IsWindow(child)) {
      bHandled = FALSE;
      return 1;
    }
    return ::SendMessageW(child, OCM__BASE + uMsg, wParam, lParam);
  }

  // A reflected message that the child's map left: the default procedure's handling of the
  // original message.
  static BOOL DefaultReflectionHandler(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
  {
    if (uMsg < OCM__BASE || uMsg >= OCM__BASE + WM_USER)
      return FALSE;
    lResult = ::DefWindowProcW(hWnd, uMsg - OCM__BASE, wParam, lParam);
    return TRUE;
  }

 protected:
  // The object's procedure (closure); made once, freed with the object. Null when no closure
  // could be made.
  WNDPROC Thunk(WindowProcFunction function)
  {
    if (!m_thunk)
      m_thunk = ::MakeWindowProc(std::move(function));
    return m_thunk;
  }
  WNDPROC m_thunk = nullptr;
};

template <class TBase = CWindow, class TWinTraits = CControlWinTraits>
class CWindowImplBaseT : public CWindowImplRoot<TBase> {
 public:
  WNDPROC m_pfnSuperWindowProc = ::DefWindowProcW;

  static DWORD GetWndStyle(DWORD style) { return TWinTraits::GetWndStyle(style); }
  static DWORD GetWndExStyle(DWORD exStyle) { return TWinTraits::GetWndExStyle(exStyle); }

  virtual WNDPROC GetWindowProc() { return StartWindowProc; }
  // Called after WM_NCDESTROY, when the object no longer has a window; may delete the object.
  virtual void OnFinalMessage(HWND) {}

  LRESULT DefWindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
  {
    return ::CallWindowProcW(m_pfnSuperWindowProc, this->m_hWnd, uMsg, wParam, lParam);
  }
  LRESULT DefWindowProc()
  {
    const MSG* msg = this->m_pCurrentMsg;
    return msg ? DefWindowProc(msg->message, msg->wParam, msg->lParam) : 0;
  }

  // Takes over an existing window: its procedure becomes this object's, the old one the default.
  BOOL SubclassWindow(HWND hWnd)
  {
    if (this->m_hWnd || !::IsWindow(hWnd))
      return FALSE;
    WNDPROC thunk = MakeThunk();
    if (!thunk) {
      SetLastError(ERROR_OUTOFMEMORY);
      return FALSE;
    }
    this->m_hWnd = hWnd;
    m_pfnSuperWindowProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(hWnd, GWLP_WNDPROC,
                                                                         reinterpret_cast<LONG_PTR>(thunk)));
    return TRUE;
  }
  // Gives the window its former procedure back. With force FALSE it fails when another
  // subclass has come after this one.
  HWND UnsubclassWindow(BOOL force = FALSE)
  {
    if (!this->m_hWnd)
      return nullptr;
    auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(this->m_hWnd, GWLP_WNDPROC));
    if (current != this->m_thunk && !force)
      return nullptr;
    ::SetWindowLongPtrW(this->m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuperWindowProc));
    m_pfnSuperWindowProc = ::DefWindowProcW;
    return this->Detach();
  }

  HWND Create(HWND hWndParent, const RECT& rect, LPCWSTR windowName, DWORD style, DWORD exStyle, UINT_PTR menuOrId,
              LPCWSTR className, LPVOID createParam)
  {
    if (!className || this->m_hWnd) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
    if (!MakeThunk()) {
      SetLastError(ERROR_OUTOFMEMORY);
      return nullptr;
    }
    AtlAddCreateWndData(this);
    HWND hWnd = ::CreateWindowExW(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                                  rect.bottom - rect.top, hWndParent, reinterpret_cast<HMENU>(menuOrId), nullptr,
                                  createParam);
    if (!hWnd)
      AtlRemoveCreateWndData(this);  // when no message reached the window the record is still there
    return hWnd;
  }

  // The first message of a window of the class: bind the window to the object being created.
  static LRESULT StartWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
  {
    auto* self = static_cast<CWindowImplBaseT*>(AtlExtractCreateWndData());
    if (!self)
      return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    self->m_hWnd = hWnd;
    ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->m_thunk));
    return ::CallWindowProcW(self->m_thunk, hWnd, uMsg, wParam, lParam);
  }

  LRESULT WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
  {
    MSG msg{hWnd, uMsg, wParam, lParam, 0, {0, 0}};
    const MSG* outer = this->m_pCurrentMsg;
    this->m_pCurrentMsg = &msg;
    LRESULT lResult = 0;
    BOOL handled = this->ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, 0);
    this->m_pCurrentMsg = outer;
    if (!handled)
      lResult = DefWindowProc(uMsg, wParam, lParam);
    if (uMsg == WM_NCDESTROY) {
      // The default procedure has had the message: the window is gone for this object.
      auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
      if (current == this->m_thunk)
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuperWindowProc));
      this->m_hWnd = nullptr;
      m_pfnSuperWindowProc = ::DefWindowProcW;
      OnFinalMessage(hWnd);
    }
    return lResult;
  }

 protected:
  WNDPROC MakeThunk()
  {
    return this->Thunk([this](HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
      return WindowProc(hWnd, uMsg, wParam, lParam);
    });
  }
};

template <class T, class TBase = CWindow, class TWinTraits = CControlWinTraits>
class CWindowImpl : public CWindowImplBaseT<TBase, TWinTraits> {
 public:
  DECLARE_WND_CLASS(nullptr)

  HWND Create(HWND hWndParent, const RECT& rect = RECT{0, 0, 0, 0}, LPCWSTR windowName = nullptr, DWORD style = 0,
              DWORD exStyle = 0, UINT_PTR menuOrId = 0, LPVOID createParam = nullptr)
  {
    LPCWSTR className = T::GetWndClassInfo().Register(T::StartWindowProc, &this->m_pfnSuperWindowProc);
    return CWindowImplBaseT<TBase, TWinTraits>::Create(hWndParent, rect, windowName, T::GetWndStyle(style),
                                                       T::GetWndExStyle(exStyle), menuOrId, className, createParam);
  }
};
