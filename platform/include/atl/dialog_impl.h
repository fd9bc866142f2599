// Dialog classes with message maps: CDialogImpl creates its dialog from the template T::IDD
// (modal with DoModal, modeless with Create) and routes the dialog procedure's messages to
// ProcessWindowMessage. The dialog procedure is a closure bound to the object.
#pragma once

#include "atl/window_impl.h"

// The module whose resources hold the dialog templates (atl/app_module.h).
HINSTANCE AtlGetResourceInstance();

template <class TBase = CWindow>
class CDialogImplBaseT : public CWindowImplRoot<TBase> {
 public:
  // The procedure to create the dialog with; it binds the dialog to the object registered with
  // AtlAddCreateWndData.
  virtual DLGPROC GetDialogProc() { return StartDialogProc; }
  // Called after WM_NCDESTROY, when the object no longer has a window; may delete the object.
  virtual void OnFinalMessage(HWND) {}

  static INT_PTR StartDialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
  {
    auto* self = static_cast<CDialogImplBaseT*>(AtlExtractCreateWndData());
    if (!self)
      return FALSE;
    self->m_hWnd = hWnd;
    ::SetWindowLongPtrW(hWnd, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(self->m_thunk));
    return ::CallWindowProcW(self->m_thunk, hWnd, uMsg, wParam, lParam);
  }

  // The dialog procedure: the map's result goes to DWL_MSGRESULT, or is returned directly for
  // the messages whose result is the procedure's return value.
  INT_PTR DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
  {
    MSG msg{hWnd, uMsg, wParam, lParam, 0, {0, 0}};
    const MSG* outer = this->m_pCurrentMsg;
    this->m_pCurrentMsg = &msg;
    LRESULT lResult = 0;
    BOOL handled = this->ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, 0);
    this->m_pCurrentMsg = outer;
    INT_PTR answer = FALSE;
    if (handled) {
      switch (uMsg) {
      case WM_COMPAREITEM:
      case WM_VKEYTOITEM:
      case WM_CHARTOITEM:
      case WM_INITDIALOG:
      case WM_CTLCOLORMSGBOX:
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORLISTBOX:
      case WM_CTLCOLORBTN:
      case WM_CTLCOLORDLG:
      case WM_CTLCOLORSCROLLBAR:
      case WM_CTLCOLORSTATIC:
        answer = lResult;
        break;
      default:
        if (::IsWindow(hWnd))
          ::SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, lResult);
        answer = TRUE;
        break;
      }
    }
    if (uMsg == WM_NCDESTROY) {
      this->m_hWnd = nullptr;
      OnFinalMessage(hWnd);
    }
    return answer;
  }

  // A modal dialog ends with the result; a modeless one is to be destroyed instead.
  BOOL EndDialog(int result) { return ::EndDialog(this->m_hWnd, result); }

 protected:
  // Makes the procedure and registers the object for the dialog's first message; false (and
  // ERROR_OUTOFMEMORY) when the procedure cannot be made.
  bool PrepareCreate()
  {
    WNDPROC thunk = this->Thunk([this](HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) -> LRESULT {
      return DialogProc(hWnd, uMsg, wParam, lParam);
    });
    if (!thunk) {
      SetLastError(ERROR_OUTOFMEMORY);
      return false;
    }
    AtlAddCreateWndData(this);
    return true;
  }
};

template <class T, class TBase = CWindow>
class CDialogImpl : public CDialogImplBaseT<TBase> {
 public:
  // Runs the dialog modally; its EndDialog result, or -1 when it could not be created.
  INT_PTR DoModal(HWND hWndParent = ::GetActiveWindow(), LPARAM initParam = 0)
  {
    if (this->m_hWnd || !this->PrepareCreate())
      return -1;
    INT_PTR result = ::DialogBoxParamW(AtlGetResourceInstance(), TemplateName(), hWndParent, this->GetDialogProc(),
                                       initParam);
    AtlRemoveCreateWndData(this);
    return result;
  }
  // Creates the dialog modelessly.
  HWND Create(HWND hWndParent, LPARAM initParam = 0)
  {
    if (this->m_hWnd || !this->PrepareCreate())
      return nullptr;
    HWND hWnd = ::CreateDialogParamW(AtlGetResourceInstance(), TemplateName(), hWndParent, this->GetDialogProc(),
                                     initParam);
    AtlRemoveCreateWndData(this);
    return hWnd;
  }
  // The same from a template in memory.
  INT_PTR DoModalIndirect(LPCDLGTEMPLATE dialogTemplate, HWND hWndParent = ::GetActiveWindow(), LPARAM initParam = 0)
  {
    if (this->m_hWnd || !this->PrepareCreate())
      return -1;
    INT_PTR result = ::DialogBoxIndirectParamW(AtlGetResourceInstance(), dialogTemplate, hWndParent,
                                               this->GetDialogProc(), initParam);
    AtlRemoveCreateWndData(this);
    return result;
  }
  HWND CreateIndirect(LPCDLGTEMPLATE dialogTemplate, HWND hWndParent, LPARAM initParam = 0)
  {
    if (this->m_hWnd || !this->PrepareCreate())
      return nullptr;
    HWND hWnd = ::CreateDialogIndirectParamW(AtlGetResourceInstance(), dialogTemplate, hWndParent,
                                             this->GetDialogProc(), initParam);
    AtlRemoveCreateWndData(this);
    return hWnd;
  }
  BOOL DestroyWindow()
  {
    return ::DestroyWindow(this->m_hWnd);
  }

 private:
  static LPCWSTR TemplateName()
  {
    return reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(T::IDD)));
  }
};
