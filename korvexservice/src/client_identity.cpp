#include "client_identity.h"

#include <mutex>

namespace {

struct Identity {
  std::mutex lock;
  CStringW productId;
  CStringW clientId;
};

Identity& TheIdentity()
{
  // Kept until the process ends: the network worker may still read it during exit.
  static Identity* identity = new Identity;
  return *identity;
}

}  // namespace

void SetClientIdentity(const WCHAR* productId, const WCHAR* clientId)
{
  Identity& identity = TheIdentity();
  std::lock_guard<std::mutex> guard(identity.lock);
  identity.productId = productId != nullptr ? productId : u"";
  identity.clientId = clientId != nullptr ? clientId : u"";
}

CStringW GetProductId()
{
  Identity& identity = TheIdentity();
  std::lock_guard<std::mutex> guard(identity.lock);
  return identity.productId;
}

CStringW GetClientId()
{
  Identity& identity = TheIdentity();
  std::lock_guard<std::mutex> guard(identity.lock);
  return identity.clientId;
}

CClientInfo* GetClientInfo()
{
  static CClientInfo* info = new CClientInfo;
  return info;
}

CStringW GetProductVersion()
{
  return GetClientInfo()->GetProductVersion();
}
