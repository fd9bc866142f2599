#include "recharge_menu_page.h"

#include "window_helpers.h"

namespace {

constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;  // 0x50010000
constexpr COLORREF kCaptionColour = RGB(0, 0, 0);

}  // namespace

const WCHAR* const CRechargeMenuPage::kMethodCaptions[kMethodCount] = {u"Milocard充值", u"话费充值卡", u"网上银行",
                                                                      u"网汇e充值"};

CRechargeMenuPage::~CRechargeMenuPage()
{
  for (CFormButton* button : buttons_) {
    if (button->IsWindow())
      button->DestroyWindow();
    delete button;
  }
}

void CRechargeMenuPage::CreateMethodButtons(CRechargeMenuPage& page)
{
  // Whole-number layout scales against the 240 x 320 design.
  int sx = static_cast<int>(GetScreenScaleX());
  int sy = static_cast<int>(GetScreenScaleY());
  RECT rect{5 * sx, 40 * sy, 210 * sx, 70 * sy};
  for (int i = 0; i < kMethodCount; ++i) {
    auto* button = new CFormButton;
    page.buttons_.push_back(button);
    button->Create(page.form_, rect, nullptr, kButtonStyle, 0, static_cast<UINT_PTR>(kFirstMethodId + i));
    button->LoadImages(TRUE);
    button->SetChecked(WM_KV_RECHARGE_METHOD);
    button->SetTexts(kMethodCaptions[i], kCaptionColour, u"", kCaptionColour);
    if (i == 0)
      button->SetFocus();
    OffsetRect(&rect, 0, 30 * sy);
  }
  if (page.scrollForm_)
    page.scrollForm_->Relayout();
}
