#include "recharge_menu_page.h"

#include "window_helpers.h"

namespace {

constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;  // 0x50010000
constexpr COLORREF kCaptionColour = RGB(0, 0, 0);
constexpr COLORREF kPageColour = 0xF7F7F7;
constexpr int kSeparatorId = 1148;

}  // namespace

const WCHAR* const CRechargeMenuPage::kMethodCaptions[kMethodCount] = {u"Milocard充值", u"话费充值卡", u"网上银行",
                                                                      u"网汇e充值"};

CRechargeMenuPage::~CRechargeMenuPage()
{
  DestroyButtons();
  if (brush_)
    ::DeleteObject(brush_);
}

void CRechargeMenuPage::DestroyButtons()
{
  for (CFormButton* button : buttons_) {
    if (button->IsWindow())
      button->DestroyWindow();
    delete button;
  }
  buttons_.clear();
}

void CRechargeMenuPage::CreateMethodButtons(CRechargeMenuPage& page)
{
  // Whole-number layout scales against the 240 x 320 design, as the screen has them upright: the
  // display mode here turns with the screen, and 240 / 320 would truncate to 0 in landscape.
  int sx = GetUprightScaleX();
  int sy = GetUprightScaleY();
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

void CRechargeMenuPage::FocusSelected()
{
  if (selected_ >= 0 && selected_ < static_cast<int>(buttons_.size()) && buttons_[selected_]->IsWindow())
    buttons_[selected_]->SetFocus();
}

LRESULT CRechargeMenuPage::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
  selected_ = 0;
  form_ = m_hWnd;
  ownForm_ = std::make_unique<CScrollForm>(this);
  scrollForm_ = ownForm_.get();
  if (HWND separator = GetDlgItem(kSeparatorId))
    separator_.SubclassWindow(separator);
  if (!brush_)
    brush_ = ::CreateSolidBrush(kPageColour);
  CreateMethodButtons(*this);
  return FALSE;  // the first button has the focus
}

LRESULT CRechargeMenuPage::OnMethodFocus(UINT, WPARAM wParam, LPARAM, BOOL&)
{
  int index = static_cast<int>(wParam) - kFirstMethodId;
  if (index >= 0 && index < kMethodCount)
    selected_ = index;
  return 0;
}

LRESULT CRechargeMenuPage::OnMethodPressed(WORD code, WORD id, HWND, BOOL&)
{
  if (code != BN_CLICKED)
    return 0;
  selected_ = id - kFirstMethodId;
  ::PostMessageW(GetParent(), WM_COMMAND, MAKEWPARAM(kActionKeyId, 0), 0);
  return 0;
}

LRESULT CRechargeMenuPage::OnEraseBkgnd(UINT, WPARAM wParam, LPARAM, BOOL&)
{
  RECT client;
  GetClientRect(&client);
  ::FillRect(reinterpret_cast<HDC>(wParam), &client, brush_);
  return 1;
}

LRESULT CRechargeMenuPage::OnCtlColorStatic(UINT, WPARAM wParam, LPARAM, BOOL&)
{
  ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
  return reinterpret_cast<LRESULT>(brush_);
}

LRESULT CRechargeMenuPage::OnVScroll(UINT, WPARAM wParam, LPARAM, BOOL&)
{
  if (scrollForm_)
    scrollForm_->OnVScroll(wParam);
  return 0;
}

LRESULT CRechargeMenuPage::OnSize(UINT, WPARAM, LPARAM, BOOL&)
{
  if (scrollForm_ && !buttons_.empty())
    scrollForm_->Relayout();
  return 0;
}

LRESULT CRechargeMenuPage::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  DestroyButtons();
  if (separator_.m_hWnd)
    separator_.UnsubclassWindow();
  scrollForm_ = nullptr;
  ownForm_.reset();
  bHandled = FALSE;
  return 0;
}
