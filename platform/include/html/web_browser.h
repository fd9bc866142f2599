// The embedded browser control: a web page (http or https) shown inside a window of the program,
// with its forms, links and scripts, driven through component interfaces.
//
// AtlAxWinInit registers the host window classes "AtlAxWin80" and "AtlAxWinLic80". A host window
// created with the text "Microsoft.PIEDocView" holds the control: the host's first child is the
// control's window and that window's first child the page view, which shows the page and holds
// the form fields as child windows (EDIT for text and passwords, BUTTON for buttons, check boxes
// and radio buttons, COMBOBOX for lists). AtlAxGetControl gives the control's IUnknown, from
// which IWebBrowser2 and IConnectionPointContainer are asked for.
//
// Navigations: Navigate2, a link tapped, a form submitted or a script setting the location. Each
// fires BeforeNavigate2 first, synchronously (inside Navigate2 for that call); a sink that sets
// the cancel flag stops it and nothing follows. Otherwise the page is fetched with the device's
// HTTP layer (the process's cookies, TLS verified) and NavigateComplete2 fires with the URL
// reached after redirects; then the page's scripts run, its images are fetched (up to 16), its
// onload runs and DocumentComplete fires. Style sheets and scripts in other files are not fetched.
// A fetch that fails (the network, TLS, or an HTTP status of 400 and above) fires NavigateError,
// shows a short error page with an empty title, and DocumentComplete still fires. A navigation
// that only changes the fragment of the page shown scrolls to it and fires NavigateComplete2 and
// DocumentComplete. Navigations that scripts start are queued and begin once the script has
// returned, after the DocumentComplete of the page that is loading.
//
// Every focus change inside the page posts BROWSER_FOCUS_CHANGED to the page view. The host
// answers WM_FORWARDMSG with nonzero when the page took the key (moving between links and
// fields, following a link, submitting a form), never for VK_F1 and VK_F2.
//
// All calls are made on the thread that created the host window; events arrive on it.
#pragma once

#include "atl/window.h"
#include "base/types.h"
#include "base/unknown.h"
#include "com/dispatch.h"
#include "com/variant.h"

#define BROWSER_HOST_CLASS u"AtlAxWin80"
#define BROWSER_HOST_LICENSED_CLASS u"AtlAxWinLic80"
#define BROWSER_PROGID u"Microsoft.PIEDocView"

// Posted to the page view (wParam 0, lParam 0) whenever the focus moves inside the page.
#define BROWSER_FOCUS_CHANGED 0x040D

// {D30C1661-CDAF-11D0-8A3E-00C04FC9E26E}
inline constexpr IID IID_IWebBrowser2 = {0xD30C1661, 0xCDAF, 0x11D0, {0x8A, 0x3E, 0x00, 0xC0, 0x4F, 0xC9, 0xE2, 0x6E}};
// {34A715A0-6587-11D0-924A-0020AFC7AC4D}
inline constexpr IID DIID_DWebBrowserEvents2 = {0x34A715A0, 0x6587, 0x11D0,
                                                {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};
// {332C4425-26CB-11D0-B483-00C04FD90119}
inline constexpr IID IID_IHTMLDocument2 = {0x332C4425, 0x26CB, 0x11D0, {0xB4, 0x83, 0x00, 0xC0, 0x4F, 0xD9, 0x01, 0x19}};

// The events of DIID_DWebBrowserEvents2 that the control fires. Arguments in declaration order
// (DISPPARAMS holds them last first); "VARIANT*" arguments come as VT_BYREF | VT_VARIANT.
//  BeforeNavigate2 (IDispatch* browser, VARIANT* URL (BSTR), VARIANT* Flags (I4, 0),
//                   VARIANT* TargetFrameName (BSTR, empty), VARIANT* PostData (an array of
//                   bytes, VT_ARRAY | VT_UI1, or empty), VARIANT* Headers (BSTR),
//                   VARIANT_BOOL* Cancel (VT_BYREF | VT_BOOL))
//  NavigateComplete2 (IDispatch* browser, VARIANT* URL)
//  DocumentComplete (IDispatch* browser, VARIANT* URL)
//  NavigateError (IDispatch* browser, VARIANT* URL, VARIANT* TargetFrameName, VARIANT* StatusCode
//                 (I4: the HTTP status, or an INET_E_* result), VARIANT_BOOL* Cancel (set: no
//                 error page; the view is left empty))
#define DISPID_STATUSTEXTCHANGE 102
#define DISPID_COMMANDSTATECHANGE 105
#define DISPID_TITLECHANGE 113
#define DISPID_BEFORENAVIGATE2 250
#define DISPID_NAVIGATECOMPLETE2 252
#define DISPID_DOCUMENTCOMPLETE 259
#define DISPID_NAVIGATEERROR 271

// The control. GetTypeInfo, GetIDsOfNames and Invoke are not offered (E_NOTIMPL).
struct IWebBrowser2 : IDispatch {
  // URL: an absolute http or https URL (BSTR, or a reference to one). Flags and TargetFrameName
  // are accepted and not used. PostData: an array of bytes (VT_ARRAY | VT_UI1, or a reference to
  // one) sent as the body of a POST; empty or missing: a GET. Headers: "Name: value" lines each
  // ended by CR LF. E_INVALIDARG for a URL that is not http or https; E_FAIL once the control's
  // window is gone. S_OK also when a sink cancelled the navigation.
  virtual HRESULT Navigate2(VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                            VARIANT* Headers) = 0;
  // Ends a fetch under way and drops navigations that scripts queued; the page shown stays.
  virtual HRESULT Stop() = 0;
  // The document shown (IHTMLDocument2); S_FALSE and null before the first page.
  virtual HRESULT get_Document(IDispatch** ppDisp) = 0;
  // The URL of the page shown; empty before the first page.
  virtual HRESULT get_LocationURL(BSTR* LocationURL) = 0;
  // The status bar: kept, and nothing is shown for it.
  virtual HRESULT get_StatusBar(VARIANT_BOOL* pBool) = 0;
  virtual HRESULT put_StatusBar(VARIANT_BOOL Value) = 0;

 protected:
  ~IWebBrowser2() = default;
};

// A page shown by the control. A document whose page has since been replaced answers E_FAIL.
struct IHTMLDocument2 : IDispatch {
  // The page's script object: an IDispatchEx whose members are the page's global names.
  // GetDispID answers DISP_E_UNKNOWNNAME for a name the page does not define. InvokeEx with
  // DISPATCH_METHOD calls the function of that name (a named argument DISPID_THIS may give the
  // script object itself; other arguments are not passed): S_OK with the result as text
  // (VT_BSTR: strings as they are, numbers as the script writes them, booleans "true" or
  // "false", null and undefined empty), DISP_E_EXCEPTION when the function threw (the message
  // in bstrDescription) or ran too long, DISP_E_MEMBERNOTFOUND when the name is no function.
  virtual HRESULT get_Script(IDispatch** p) = 0;
  virtual HRESULT get_title(BSTR* p) = 0;
  virtual HRESULT get_URL(BSTR* p) = 0;
  // The character set the page was read in: "utf-8" or "gbk".
  virtual HRESULT get_charset(BSTR* p) = 0;

 protected:
  ~IHTMLDocument2() = default;
};

// Registers the host window classes (again: no effect). TRUE on success.
BOOL AtlAxWinInit();
// The control held by a host window, with a reference for the caller; E_FAIL for a window that
// holds none.
HRESULT AtlAxGetControl(HWND h, IUnknown** pp);

// A host window.
class CAxWindow : public CWindow {
 public:
  CAxWindow(HWND hWnd = nullptr) : CWindow(hWnd) {}
  static LPCWSTR GetWndClassName() { return BROWSER_HOST_CLASS; }
  HWND Create(HWND hWndParent, const RECT& rect, LPCWSTR progId, DWORD style = 0, DWORD exStyle = 0, UINT id = 0)
  {
    return CWindow::Create(GetWndClassName(), hWndParent, rect, progId, style, exStyle, id);
  }
  // The control's interface iid.
  HRESULT QueryControl(REFIID iid, void** object)
  {
    if (!object)
      return E_POINTER;
    *object = nullptr;
    IUnknown* control = nullptr;
    HRESULT result = AtlAxGetControl(m_hWnd, &control);
    if (FAILED(result))
      return result;
    result = control->QueryInterface(iid, object);
    control->Release();
    return result;
  }
};
