#include "apn_list.h"

#include "base/errors.h"
#include "net/net.h"
#include "text/widechar.h"

namespace {

constexpr const WCHAR* kApnQuery =
    u"<wap-provisioningdoc><characteristic type=\"CM_GPRSEntries\"><characteristic type=\"%s\">"
    u"<characteristic type=\"DevSpecificCellular\"><parm-query name=\"GPRSInfoAccessPointName\"/>"
    u"</characteristic></characteristic></characteristic></wap-provisioningdoc>";

const HRESULT kInsufficientBuffer = static_cast<HRESULT>(0x8007007Au);

}  // namespace

CStringW QueryGprsAccessPointName(const WCHAR* entryName)
{
  CStringW query;
  query.Format(kApnQuery, entryName);
  WCHAR* answer = nullptr;
  CStringW apn;
  if (SUCCEEDED(DMProcessConfigXML(query, CFGFLAG_PROCESS, &answer)) && answer) {
    CStringW text(answer);
    int start = text.Find(u"value=\"");
    if (start >= 0) {
      start += 7;
      int end = text.Find(u'"', start);
      if (end >= 0) {
        apn = text.Mid(start, end - start);
        apn.MakeLower();
      }
    }
  }
  delete[] answer;
  return apn;
}

void CApnList::Load()
{
  DWORD size = 0;
  if (ConnMgrQueryDetailedStatus(nullptr, &size) != kInsufficientBuffer || size == 0) {
    return;
  }
  std::vector<unsigned char> buffer(size);
  auto* first = reinterpret_cast<CONNMGR_CONNECTION_DETAILED_STATUS*>(buffer.data());
  if (FAILED(ConnMgrQueryDetailedStatus(first, &size))) {
    return;
  }
  for (CONNMGR_CONNECTION_DETAILED_STATUS* status = first; status; status = status->pNext) {
    if (status->dwType != CM_CONNTYPE_CELLULAR || status->szDescription == nullptr) {
      continue;
    }
    CStringW apn = QueryGprsAccessPointName(status->szDescription);
    if (apn.IsEmpty()) {
      continue;
    }
    auto entry = std::make_unique<ApnEntry>();
    *entry = ApnEntry{};
    entry->destination = status->guidDestNet;
    wcsncpy(entry->description, status->szDescription, 31);
    wcsncpy(entry->apn, apn, 19);
    m_entries.push_back(std::move(entry));
  }
}

void CApnList::Clear()
{
  m_entries.clear();
  m_entries.shrink_to_fit();
}

LONG CApnList::SaveEntry(int index) const
{
  if (index < 0) {
    return DeleteApnSettings();
  }
  if (index >= GetCount()) {
    return ERROR_INVALID_PARAMETER;
  }
  return SaveApnSettings(GetAt(index));
}

std::unique_ptr<CApnList> CreateApnList()
{
  auto list = std::make_unique<CApnList>();
  list->Load();
  return list;
}
