#include "trade_pay_dlg.h"

#include <iterator>

#include "ids.h"
#include "log_writer.h"
#include "resource_values.h"
#include "selvane/selvane.h"
#include "text_helpers.h"
#include "tradepay_ids.h"
#include "window_helpers.h"

namespace {

constexpr COLORREF kDialogColour = 0xF7F7F7;
constexpr COLORREF kCouponNoteColour = 0x0000FF;
// The items of the summary lines, in the order of their texts.
constexpr int kLineItems[7] = {IDC_TRADEPAY_NOTE,    IDC_TRADEPAY_COUNTERPARTY, IDC_TRADEPAY_GOODS, IDC_TRADEPAY_FROM,
                               IDC_TRADEPAY_ACCOUNT, IDC_TRADEPAY_TOTAL,        IDC_TRADEPAY_STATE};
enum LineIndex { kNote, kCounterparty, kGoods, kFrom, kAccount, kTotal, kState };

CStringW Formatted(const WCHAR* format, const CStringW& value)
{
  CStringW text;
  text.Format(format, value.GetString());
  return text;
}

}  // namespace

CTradePayDlg::CTradePayDlg() = default;

CTradePayDlg::~CTradePayDlg()
{
  if (m_hBrush)
    ::DeleteObject(m_hBrush);
}

int CTradePayDlg::GetTemplateId(int orientation)
{
  return orientation == -1 ? IDD_TRADEPAY_LAND : IDD_TRADEPAY;
}

int CTradePayDlg::GetBackgroundBitmapId(int orientation)
{
  return orientation == -1 ? 0x419 : 0x418;
}

int CTradePayDlg::GetLayoutStringId()
{
  return 132;
}

int CTradePayDlg::GetSoftKey1Id()
{
  return IDC_TRADEPAY_PAY;
}

int CTradePayDlg::GetSoftKey2Id()
{
  return IDC_TRADEPAY_BACK;
}

int CTradePayDlg::GetCenterKeyId()
{
  return IDC_TRADEPAY_CENTER;
}

LRESULT CTradePayDlg::OnInitDialog(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
  m_pParams = reinterpret_cast<TradePayParams*>(lParam);
  if (!m_pParams)
    WRITE_LOG_ENTRY(u"TradePayDlg: no payment record");
  if (!GetDlgItem(IDC_TRADEPAY_PASSWORD))
    WRITE_LOG_ENTRY(u"TradePayDlg: no password item");
  if (!m_hBrush)
    m_hBrush = ::CreateSolidBrush(kDialogColour);
  SetSoftKeyTexts(u"付款", u"返回", FALSE);
  BuildSummary();
  bHandled = FALSE;  // on to the base, which binds the controls and shows the texts
  return 0;
}

BOOL CTradePayDlg::BindControls(BOOL save, int)
{
  if (save || !m_hWnd)
    return FALSE;
  for (int i = 0; i < 7; ++i) {
    AttachSkinLabel(kLineItems[i], m_lineLabels[i], kControlLabel, save, -1, -1, 0);
    SetDlgItemText(kLineItems[i], m_lineTexts[i]);
  }
  AttachSkinLabel(IDC_TRADEPAY_SIGNATURE, m_signatureLabel, kControlLabel, save, -1, -1, 0);
  CStringW caption = LoadResourceString(IDS_SIGNATURE_CAPTION);
  if (caption.IsEmpty())
    caption = u"安全签名";
  SetDlgItemText(IDC_TRADEPAY_SIGNATURE, caption + (m_pParams ? m_pParams->signature : CStringW()));
  FitSummaryColumn();
  AttachSkinEdit(IDC_TRADEPAY_PASSWORD, m_passwordEdit, kControlSkinEdit, save, 0xFF8000);
  AddLayoutItem(IDC_TRADEPAY_COUPON_NOTE, &m_hCouponNote);
  AddLayoutItem(IDC_TRADEPAY_COUPON_CHECK, &m_hCouponCheck);
  // Checked when the screen first offers the red packet; a re-layout (the screen turned) binds
  // again and keeps the user's choice.
  ShowCoupon(!m_bCouponOffered);
  m_bCouponOffered = true;
  return TRUE;
}

void CTradePayDlg::InitFocus()
{
  HWND edit = GetDlgItem(IDC_TRADEPAY_PASSWORD);
  if (!edit)
    return;
  DisableImeForWindow(edit);
  HelpMe(edit);
  ::SetFocus(edit);
}

BOOL CTradePayDlg::PreTranslateMessage(MSG* pMsg)
{
  if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_UP || pMsg->wParam == VK_DOWN) && IsWindow()) {
    // The dialog's navigation would take the focus onto a label: it goes to the other field
    // instead (none when there is no red packet).
    HWND focus = ::GetFocus();
    if (focus && (focus == GetDlgItem(IDC_TRADEPAY_PASSWORD) || focus == GetDlgItem(IDC_TRADEPAY_COUPON_CHECK))) {
      SendMessage(WM_NEXTDLGCTL, pMsg->wParam == VK_UP ? 1 : 0, 0);
      return TRUE;
    }
  }
  return CBaseDlg::PreTranslateMessage(pMsg);
}

void CTradePayDlg::FitSummaryColumn()
{
  if (GetOrientation() != -1)
    return;
  CSkinLabel* column[] = {&m_signatureLabel,       &m_lineLabels[kCounterparty], &m_lineLabels[kGoods],
                          &m_lineLabels[kFrom],    &m_lineLabels[kAccount],      &m_lineLabels[kTotal],
                          &m_lineLabels[kState]};
  StackLabelsToFit(column, std::size(column));
}

void CTradePayDlg::BuildSummary()
{
  for (CStringW& text : m_lineTexts)
    text.Empty();
  if (!m_pParams)
    return;
  const TradePayParams& p = *m_pParams;
  m_lineTexts[kGoods] = Formatted(u"商　　品：%s", p.goodsName);
  if (p.kind == kTradePayMobileRecharge) {
    m_lineTexts[kFrom] = Formatted(u"手机号码：%s", p.from);
    m_lineTexts[kCounterparty] = Formatted(u"充值金额：%s", p.counterparty);
  } else {
    CStringW counterparty = p.counterparty;
    EllipsizeString(counterparty, 24);
    m_lineTexts[kFrom] = Formatted(u"来　　自：%s", p.from);
    m_lineTexts[kCounterparty] = Formatted(u"交易对方：%s", counterparty);
  }
  m_lineTexts[kAccount] = Formatted(u"您的户名：%s", p.accountName);
  m_lineTexts[kTotal] = Formatted(u"应付总价：%s", p.totalPayable);
  if (p.kind == kTradePayConfirmGoods) {
    m_lineTexts[kState] = u"交易状态：卖家已发货";
  } else {
    m_lineTexts[kState] = Formatted(u"可用余额：%s", p.availableBalance);
    m_lineTexts[kNote] = u"* 当余额不足时从您开通Milocard的银行卡账户里扣除。";
  }
}

void CTradePayDlg::ShowCoupon(bool initial)
{
  HWND note = GetDlgItem(IDC_TRADEPAY_COUPON_NOTE);
  HWND check = GetDlgItem(IDC_TRADEPAY_COUPON_CHECK);
  if (!note || !check)
    return;
  if (!m_pParams || m_pParams->couponAvailable != u"true") {
    // No red packet: neither the note nor an empty check box shows.
    ::ShowWindow(note, SW_HIDE);
    ::EnableWindow(check, FALSE);
    ::ShowWindow(check, SW_HIDE);
    ::SendMessageW(check, BM_SETCHECK, BST_UNCHECKED, 0);
    return;
  }
  ::SetWindowTextW(note, Formatted(u"您有 %s 元红包可用于此次支付。", m_pParams->couponAmount));
  ::ShowWindow(note, SW_SHOW);
  ::SetWindowTextW(check, Formatted(u"使用红包 %s 元", m_pParams->couponAmount));
  ::EnableWindow(check, TRUE);
  ::ShowWindow(check, SW_SHOW);
  // The check box reaches to 12 layout units short of the dialog's right edge.
  RECT box{};
  RECT client{};
  ::GetWindowRect(check, &box);
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&box), 2);
  GetClientRect(&client);
  int width = client.right - static_cast<int>(12 * GetScreenScaleX()) - box.left;
  if (width > 0)
    ::SetWindowPos(check, nullptr, 0, 0, width, box.bottom - box.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (initial)
    ::SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
}

LRESULT CTradePayDlg::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  // The red-packet line follows the dialog's width; its check state stays.
  ShowCoupon(false);
  bHandled = FALSE;
  return 0;
}

LRESULT CTradePayDlg::OnCtlColor(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
  if (id != IDC_TRADEPAY_COUPON_NOTE && id != IDC_TRADEPAY_COUPON_CHECK) {
    bHandled = FALSE;
    return 0;
  }
  HDC dc = reinterpret_cast<HDC>(wParam);
  ::SetBkMode(dc, TRANSPARENT);
  if (id == IDC_TRADEPAY_COUPON_NOTE)
    ::SetTextColor(dc, kCouponNoteColour);
  return reinterpret_cast<LRESULT>(m_hBrush);
}

LRESULT CTradePayDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  if (HWND edit = GetDlgItem(IDC_TRADEPAY_PASSWORD))
    FreeMe(edit);
  m_hCouponNote = nullptr;
  m_bCouponOffered = false;
  bHandled = FALSE;
  return 0;
}

LRESULT CTradePayDlg::OnBack(WORD, WORD, HWND, BOOL&)
{
  CloseDialog(2, TRUE);
  return 0;
}
