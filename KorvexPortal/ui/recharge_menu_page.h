// The recharge menu page's column of top-up method buttons: four form buttons, one under the
// other, created on the page's form and laid out for the screen's size.
#pragma once

#include <vector>

#include "form_button.h"
#include "scroll_form.h"
#include "windows.h"

// Posted by a method button to the page when it gains the focus; wParam is the button's id.
#define WM_KV_RECHARGE_METHOD 0x638

class CRechargeMenuPage {
 public:
  static constexpr int kMethodCount = 4;
  static constexpr int kFirstMethodId = 1500;
  // The methods' captions, in the order of their buttons.
  static const WCHAR* const kMethodCaptions[kMethodCount];

  // The window the buttons go on, and its scroll form (may be null).
  CRechargeMenuPage(HWND form, CScrollForm* scrollForm) : form_(form), scrollForm_(scrollForm) {}
  ~CRechargeMenuPage();
  CRechargeMenuPage(const CRechargeMenuPage&) = delete;
  CRechargeMenuPage& operator=(const CRechargeMenuPage&) = delete;

  // Creates and lays out the method buttons; the first takes the focus.
  static void CreateMethodButtons(CRechargeMenuPage& page);

  // The buttons in creation order; the page owns them.
  const std::vector<CFormButton*>& GetMethodButtons() const { return buttons_; }

 private:
  HWND form_;
  CScrollForm* scrollForm_;
  std::vector<CFormButton*> buttons_;
};
