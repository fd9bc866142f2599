// Who the client is to the gateway: the product and client identifiers the application gives
// at start-up, and the product version the login request sends.
#pragma once

#include "base/types.h"
#include "text/cstring.h"

// Keeps both identifiers; called once at start-up, before the first request.
void SetClientIdentity(const WCHAR* productId, const WCHAR* clientId);
// The "productID" of the login request.
CStringW GetProductId();
// The "clientID" of every request.
CStringW GetClientId();

// The client's own facts that requests draw on.
class CClientInfo {
 public:
  const CStringW& GetProductVersion() const { return m_productVersion; }

 private:
  CStringW m_productVersion{u"2.1.6.0712"};
};

// The process-wide record, created on first use.
CClientInfo* GetClientInfo();
// The "productVersion" of the login request: "2.1.6.0712".
CStringW GetProductVersion();
