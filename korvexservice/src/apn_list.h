// The phone's GPRS access points as the access-point settings offer them: one entry per
// cellular connection of the Connection Manager whose provisioning reports an APN.
#pragma once

#include <memory>
#include <vector>

#include "apn_store.h"
#include "base/types.h"
#include "text/cstring.h"

class CApnList {
 public:
  CApnList() { m_entries.reserve(4); }

  // Appends the cellular connections that have an APN.
  void Load();
  // Frees every entry.
  void Clear();
  // Stores entry index as the chosen access point; a negative index removes the stored choice.
  // The registry result; ERROR_INVALID_PARAMETER for an index past the end.
  LONG SaveEntry(int index) const;

  int GetCount() const { return static_cast<int>(m_entries.size()); }
  const ApnEntry& GetAt(int index) const { return *m_entries[static_cast<size_t>(index)]; }

 private:
  std::vector<std::unique_ptr<ApnEntry>> m_entries;
};

// A list created and loaded.
std::unique_ptr<CApnList> CreateApnList();

// The APN, in lower case, that the phone's provisioning reports for the GPRS entry; empty when
// it reports none.
CStringW QueryGprsAccessPointName(const WCHAR* entryName);
