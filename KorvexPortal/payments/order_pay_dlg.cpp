// The order-pay screen's look, start-up, layout, trade list, end and hand-off. Verification and
// payment are in order_pay_verify.cpp and order_pay_submit.cpp.
#include "order_pay_dlg.h"

#include "app_services.h"
#include "handoff/order_pay_handoff.h"
#include "list_results.h"
#include "orderpay_ids.h"
#include "selvane/selvane.h"

namespace {

constexpr COLORREF kPasswordFrameColour = 0xFF0000;
constexpr int kCaptionId = 1060;
constexpr int kListId = 1061;
constexpr int kSideMargin = 10;
constexpr int kGapBelowForm = 9;

}  // namespace

COrderPayDlg::COrderPayDlg()
{
  // One line each; the counterparty (a name and an account, up to 24 characters) wraps onto the
  // second line its label has.
  for (CSkinLabel& label : m_labels)
    label.m_bWrap = false;
  m_labels[kCounterpartyLine].m_bWrap = true;
}

COrderPayDlg::~COrderPayDlg()
{
  if (m_hCaptionBrush)
    DeleteObject(m_hCaptionBrush);
}

int COrderPayDlg::GetTemplateId(int orientation)
{
  return orientation == -1 ? IDD_ORDERPAY_LAND : IDD_ORDERPAY;
}

int COrderPayDlg::GetBackgroundBitmapId(int orientation)
{
  return orientation == -1 ? 0x419 : 0x418;
}

int COrderPayDlg::GetLayoutStringId()
{
  return 132;
}

int COrderPayDlg::GetSoftKey1Id()
{
  return IDC_ORDERPAY_PAY;
}

int COrderPayDlg::GetSoftKey2Id()
{
  return IDC_ORDERPAY_LEAVE;
}

BOOL COrderPayDlg::BindControls(BOOL save, int controlId)
{
  if (!m_hWnd)
    return FALSE;
  AttachSkinEdit(IDC_ORDERPAY_PASSWORD, m_passwordEdit, kControlSkinEdit, save, kPasswordFrameColour);
  for (int i = 0; i < kSummaryLines; ++i) {
    int id = kSummaryLabelIds[i];
    if (controlId != -1 && controlId != id)
      continue;
    AttachSkinLabel(id, m_labels[i], kControlLabel, save, -1, -1, 0);
    if (save) {
      m_labels[i].GetWindowText(m_summary.lines[i]);
    } else if (!m_summary.lines[i].IsEmpty()) {
      m_labels[i].SetWindowText(m_summary.lines[i]);
    }
  }
  // The trade list and its caption are made before the base measures the content.
  if (!save && !m_caption.m_hWnd) {
    CreateTradeList();
    AddLayoutItem(kCaptionId, &m_hCaptionSlot);
    AddLayoutItem(kListId, &m_hListSlot);
  }
  return TRUE;
}

void COrderPayDlg::InitFocus()
{
  HWND edit = GetDlgItem(IDC_ORDERPAY_PASSWORD);
  HelpMe(edit);
  ::SetFocus(edit);
}

LRESULT COrderPayDlg::OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam, BOOL&)
{
  // The base makes the dialog first: skin, bars, bound controls, the guarded password edit.
  LRESULT result = FALSE;
  CBaseDlg::ProcessWindowMessage(m_hWnd, message, wParam, lParam, result);
  if (!m_hWnd || !::IsWindow(m_hWnd))
    return result;
  const WCHAR* order = reinterpret_cast<const WCHAR*>(lParam);
  VerifyOrder(order ? order : u"");
  return result;
}

void COrderPayDlg::CreateTradeList()
{
  HWND caption = CreateWindowExW(0, WC_STATICW, u"查询结果：", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 0, 0, m_hWnd,
                                 reinterpret_cast<HMENU>(static_cast<intptr_t>(kCaptionId)), nullptr, nullptr);
  m_caption.Attach(caption);
  if (caption)
    m_caption.SetFont(GetFont(), FALSE);
  if (m_list.Create(m_hWnd, RECT{0, 0, 0, 0}, nullptr, 0, 0, kListId)) {
    m_list.SetModel(&m_rows);
    m_listPanel.Attach(m_list);
  }
  RECT client{};
  GetClientRect(&client);
  m_lastSize = SIZE{client.right, client.bottom};
  LayoutTradeList(client.right, client.bottom);
  FillTradeRows();
}

LRESULT COrderPayDlg::OnSize(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
  bHandled = FALSE;  // the base lays its bars out too
  SIZE size{LOWORD(lParam), HIWORD(lParam)};
  if (size.cx == m_lastSize.cx && size.cy == m_lastSize.cy)
    return 0;
  m_lastSize = size;
  LayoutTradeList(size.cx, size.cy);
  return 0;
}

// The caption lies 9 pixels below the form (the summary and the password), as wide as the
// client less 10 pixels a side and 20 scaled pixels high; the list fills the rest down to the
// soft-key bar.
void COrderPayDlg::LayoutTradeList(int width, int height)
{
  if (!m_caption.m_hWnd)
    return;
  int scale = GetSystemMetrics(SM_CXSCREEN) / 240;
  if (scale < 1)
    scale = 1;
  RECT edit{};
  ::GetWindowRect(GetDlgItem(IDC_ORDERPAY_PASSWORD), &edit);
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&edit), 2);
  int top = edit.bottom + kGapBelowForm;
  int right = width - kSideMargin;
  m_caption.SetWindowPos(nullptr, kSideMargin, top, right - kSideMargin, 20 * scale, SWP_NOZORDER | SWP_NOACTIVATE);
  int listTop = top + 24 * scale;
  int listBottom = height - m_bottomBarHeight;
  if (listBottom < listTop)
    listBottom = listTop;
  // Placed through the list itself: its panel takes the place over.
  if (m_list.m_hWnd)
    m_list.SetWindowPos(nullptr, kSideMargin, listTop, right - kSideMargin, listBottom - listTop,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  FillTradeRows();
}

// The verification reply carries no trades, so the list stays empty: it shows its layout for no
// rows (a narrow first column and the rest).
void COrderPayDlg::FillTradeRows()
{
  if (!m_list.m_hWnd)
    return;
  RECT client{};
  m_list.GetClientRect(&client);
  int scale = GetSystemMetrics(SM_CXSCREEN) / 240;
  if (scale < 1)
    scale = 1;
  int first = 20 * scale;
  m_rows.m_columnWidths = {0, first, client.right > first ? client.right - first : 0};
  m_list.Rebuild();
  m_list.ShowWindow(SW_SHOW);
  ::InvalidateRect(m_list.m_hWnd, nullptr, TRUE);
}

// The caption lies on the page's colour.
LRESULT COrderPayDlg::OnCtlColorStatic(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  if (!m_caption.m_hWnd || reinterpret_cast<HWND>(lParam) != m_caption.m_hWnd) {
    bHandled = FALSE;
    return 0;
  }
  if (!m_hCaptionBrush)
    m_hCaptionBrush = CreateSolidBrush(GetBackgroundColor());
  SetBkColor(reinterpret_cast<HDC>(wParam), GetBackgroundColor());
  return reinterpret_cast<LRESULT>(m_hCaptionBrush);
}

LRESULT COrderPayDlg::OnFillList(UINT, WPARAM, LPARAM, BOOL&)
{
  FillTradeRows();
  return 0;
}

LRESULT COrderPayDlg::OnLeaveKey(WORD, WORD, HWND, BOOL&)
{
  // The right soft key leaves through the exit question.
  SendMessage(WM_COMMAND, ID_KV_EXIT, 0);
  return 0;
}

LRESULT COrderPayDlg::OnAbout(WORD, WORD, HWND, BOOL&)
{
  if (CKorvexPortalApp* app = GetKorvexPortalApp())
    app->ShowAboutDlg();
  return 0;
}

LRESULT COrderPayDlg::OnEndDialog(UINT message, WPARAM, LPARAM lParam, BOOL&)
{
  // Leaving without an outcome hands back "failed"; the dialog ends with what was handed back.
  HandOffLeaving();
  LRESULT result = 0;
  CBaseDlg::ProcessWindowMessage(m_hWnd, message, m_handedStatus, lParam, result);
  return result;
}

LRESULT COrderPayDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  HandOffLeaving();
  FreeMe(GetDlgItem(IDC_ORDERPAY_PASSWORD));
  m_listPanel.Detach(TRUE);
  m_caption.Detach();
  bHandled = FALSE;
  return 0;
}

void COrderPayDlg::HandOff(DWORD status, const CStringW& payload)
{
  if (m_bHandedOff)
    return;
  m_bHandedOff = true;
  m_handedStatus = status;
  OrderPayHandoffHeader header = {0, status, kHandoffHeaderLength,
                                  static_cast<DWORD>(payload.GetLength()) * static_cast<DWORD>(sizeof(WCHAR))};
  // A missing block is logged by WriteHandoff; the dialog ends with its status all the same.
  WriteHandoff(header, reinterpret_cast<const BYTE*>(payload.GetString()));
}

void COrderPayDlg::HandOffLeaving()
{
  HandOff(kHandoffFailed, CStringW());
}

void COrderPayDlg::Finish(DWORD status, const CStringW& payload)
{
  HandOff(status, payload);
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (HWND box = app ? app->GetMessageBoxWindow() : nullptr)
    ::ShowWindow(box, SW_HIDE);
  if (app && app->GetMainDialog() == this)
    app->PostToActiveDialog(static_cast<int>(status));
  else
    PostMessage(WM_KV_ENDDIALOG, status, 0);
}

int COrderPayDlg::ShowBox(const CStringW& text, UINT type, int afterShow)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  return app ? app->ShowMessageBox(m_hWnd, text, CStringW(), type, FALSE, afterShow) : -1;
}
