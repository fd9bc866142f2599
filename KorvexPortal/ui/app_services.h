// The application object as the toolkit sees it: the program's module (with its per-thread
// message-loop registry), the screen-size resource library, the current user and the top dialog.
#pragma once

#include "atl/app_module.h"
#include "text/cstring.h"

class CBaseDlg;

class CKorvexPortalApp : public CAppModule {
 public:
  // Records itself as the program's one application object.
  CKorvexPortalApp();
  ~CKorvexPortalApp() override;

  // The application's current top-level dialog; null before the run starts.
  CBaseDlg* GetMainDialog() const { return m_pMainDialog; }
  void SetMainDialog(CBaseDlg* dialog) { m_pMainDialog = dialog; }

  // The screen-size resource library (null when none is loaded). Setting it also makes it the
  // module's resource instance, so templates, bitmaps, menus and strings come from it.
  HMODULE GetResourceLibrary() const { return m_hResourceLibrary; }
  void SetResourceLibrary(HMODULE library);

  // The current user: empty while nobody is logged in.
  const CStringW& GetUserId() const { return m_strUserId; }
  const CStringW& GetLogonId() const { return m_strLogonId; }
  const CStringW& GetUserName() const { return m_strUserName; }
  void SetUserId(const CStringW& userId) { m_strUserId = userId; }
  void SetLogonId(const CStringW& logonId) { m_strLogonId = logonId; }
  void SetUserName(const CStringW& userName) { m_strUserName = userName; }

 private:
  CBaseDlg* m_pMainDialog = nullptr;
  HMODULE m_hResourceLibrary = nullptr;
  HINSTANCE m_hPreviousResourceInstance = nullptr;
  CStringW m_strUserId;
  CStringW m_strLogonId;
  CStringW m_strUserName;
};

// The program's application object, or null while none exists.
CKorvexPortalApp* GetKorvexPortalApp();
