#include "com/connection_point.h"

#include <algorithm>

namespace {

HRESULT FindPoint(IUnknown* source, const IID& iid, CComPtr<IConnectionPoint>& point)
{
  if (!source) {
    return E_INVALIDARG;
  }
  CComPtr<IConnectionPointContainer> container;
  HRESULT result = source->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
  if (FAILED(result)) {
    return result;
  }
  return container->FindConnectionPoint(iid, &point);
}

}  // namespace

HRESULT AtlAdvise(IUnknown* pUnkCP, IUnknown* pUnk, const IID& iid, LPDWORD pdw)
{
  if (!pUnk || !pdw) {
    return E_INVALIDARG;
  }
  CComPtr<IConnectionPoint> point;
  HRESULT result = FindPoint(pUnkCP, iid, point);
  return SUCCEEDED(result) ? point->Advise(pUnk, pdw) : result;
}

HRESULT AtlUnadvise(IUnknown* pUnkCP, const IID& iid, DWORD dw)
{
  CComPtr<IConnectionPoint> point;
  HRESULT result = FindPoint(pUnkCP, iid, point);
  return SUCCEEDED(result) ? point->Unadvise(dw) : result;
}

HRESULT CConnectionPoint::QueryInterface(REFIID riid, void** ppvObject)
{
  if (!ppvObject) {
    return E_POINTER;
  }
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IConnectionPoint)) {
    *ppvObject = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *ppvObject = nullptr;
  return E_NOINTERFACE;
}

HRESULT CConnectionPoint::GetConnectionInterface(IID* pIID)
{
  if (!pIID) {
    return E_POINTER;
  }
  *pIID = events_;
  return S_OK;
}

HRESULT CConnectionPoint::Advise(IUnknown* pUnkSink, DWORD* pdwCookie)
{
  if (!pUnkSink || !pdwCookie) {
    return E_POINTER;
  }
  *pdwCookie = 0;
  CComPtr<IDispatch> dispatch;
  if (FAILED(pUnkSink->QueryInterface(events_, reinterpret_cast<void**>(&dispatch))) &&
      FAILED(pUnkSink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
    return CONNECT_E_CANNOTCONNECT;
  }
  *pdwCookie = nextCookie_++;
  sinks_.push_back({*pdwCookie, std::move(dispatch)});
  return S_OK;
}

HRESULT CConnectionPoint::Unadvise(DWORD dwCookie)
{
  auto found = std::find_if(sinks_.begin(), sinks_.end(), [&](const Sink& sink) { return sink.cookie == dwCookie; });
  if (found == sinks_.end()) {
    return CONNECT_E_NOCONNECTION;
  }
  sinks_.erase(found);
  return S_OK;
}

void CConnectionPoint::Fire(DISPID id, VARIANTARG* arguments, UINT count)
{
  std::vector<Sink> sinks = sinks_;
  for (const Sink& sink : sinks) {
    bool stillConnected =
        std::any_of(sinks_.begin(), sinks_.end(), [&](const Sink& current) { return current.cookie == sink.cookie; });
    if (stillConnected) {
      DISPPARAMS params{arguments, nullptr, count, 0};
      sink.dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    }
  }
}
