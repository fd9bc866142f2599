// Opening the selected transaction of the account statement in the transaction detail.
#include "account_query_dlg.h"
#include "resource_values.h"
#include "trans_detail_dlg.h"

namespace {

// The detail's rows: label and the key of the transaction's text it shows.
struct DetailLine {
  const WCHAR* label;
  const WCHAR* key;
};
constexpr DetailLine kDetailLines[] = {
    {u"流水号", u"transLogId"},      {u"类   型", u"transType"}, {u"收   入", u"money"},
    {u"场   所", u"transInstitution"}, {u"时   间", u"date"},      {u"备   注", u"transMemo"},
};

CListCell* TextCell(const CStringW& text)
{
  auto* cell = new CListCell;
  cell->m_strText = text;
  return cell;
}

}  // namespace

void CAccountQueryDlg::OpenSelectedRow()
{
  m_detailRows.Clear();
  int selected = m_list.GetSelectedIndex();
  CListRow* row = selected >= 0 ? m_list.GetItemData(selected) : nullptr;
  if (!row) {
    ShowNotice(LoadResourceString(kNoRowTextId));
    return;
  }
  CListCell* number = row->GetCell(0);
  if (!number || number->m_strText.IsEmpty())
    return;
  auto found = m_transactions.find(number->m_strText);
  if (found == m_transactions.end())
    return;
  for (const DetailLine& line : kDetailLines) {
    auto value = found->second.find(line.key);
    auto* detail = new CListRow;
    detail->AddCell(TextCell(u""));
    detail->AddCell(TextCell(line.label));
    detail->AddCell(TextCell(u"："));
    detail->AddCell(TextCell(value == found->second.end() ? CStringW() : value->second));
    m_detailRows.AddRow(detail);
  }
  CloseDetailDlg();
  m_pDetailDlg = std::make_unique<CTransDetailDlg>();
  m_pDetailDlg->SetRows(&m_detailRows);
  m_pDetailDlg->SetAccountPage(GetAccountPage());
  m_pDetailDlg->ShowDialog(m_hWnd, 0, FALSE, TRUE);
}
