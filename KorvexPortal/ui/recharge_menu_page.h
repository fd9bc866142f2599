// The recharge dialog's method menu: a child page (template 1078) with a column of four form
// buttons, one per top-up method. A button taking the focus selects its method; pressing one
// selects it and sends the action key (1081) to the page's parent, the recharge dialog.
#pragma once

#include <memory>
#include <vector>

#include "atl/atl.h"
#include "form_button.h"
#include "owner_draw_ctrl_c.h"
#include "scroll_form.h"
#include "windows.h"

// Posted by a method button to the page when it gains the focus; wParam is the button's id.
#define WM_KV_RECHARGE_METHOD 0x638

class CRechargeMenuPage : public CDialogImpl<CRechargeMenuPage> {
 public:
  enum { IDD = 1078 };
  static constexpr int kMethodCount = 4;
  static constexpr int kFirstMethodId = 1500;
  // The parent's action key, sent when a method button is pressed.
  static constexpr int kActionKeyId = 1081;
  // The methods' captions, in the order of their buttons.
  static const WCHAR* const kMethodCaptions[kMethodCount];

  // A page whose window is made from its template (Create); the buttons go on it.
  CRechargeMenuPage() = default;
  // A column on an existing window and its scroll form (may be null).
  CRechargeMenuPage(HWND form, CScrollForm* scrollForm) : form_(form), scrollForm_(scrollForm) {}
  ~CRechargeMenuPage() override;
  CRechargeMenuPage(const CRechargeMenuPage&) = delete;
  CRechargeMenuPage& operator=(const CRechargeMenuPage&) = delete;

  // Creates and lays out the method buttons; the first takes the focus.
  static void CreateMethodButtons(CRechargeMenuPage& page);

  // The buttons in creation order; the page owns them.
  const std::vector<CFormButton*>& GetMethodButtons() const { return buttons_; }

  // The method chosen last (0 to 3); 0 at first.
  int GetSelectedIndex() const { return selected_; }
  // Gives the selected method's button the focus.
  void FocusSelected();
  // Called by the recharge dialog when it hides the page.
  void OnHidden() {}

  BEGIN_MSG_MAP(CRechargeMenuPage)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_KV_RECHARGE_METHOD, OnMethodFocus)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
    MESSAGE_HANDLER(WM_VSCROLL, OnVScroll)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    COMMAND_RANGE_HANDLER(kFirstMethodId, kFirstMethodId + kMethodCount - 1, OnMethodPressed)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMethodFocus(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnEraseBkgnd(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnCtlColorStatic(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnVScroll(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnMethodPressed(WORD, WORD id, HWND, BOOL&);
  void DestroyButtons();

  HWND form_ = nullptr;
  CScrollForm* scrollForm_ = nullptr;
  std::vector<CFormButton*> buttons_;
  // What the page owns when it is made from its template.
  std::unique_ptr<CScrollForm> ownForm_;
  COwnerDrawCtrlC separator_;
  HBRUSH brush_ = nullptr;
  int selected_ = 0;
};
