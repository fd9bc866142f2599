#include "com/event_sink.h"

#include "com/connection_point.h"

VARIANT* EventArgument(const DISPPARAMS& params, UINT position)
{
  if (!params.rgvarg || position >= params.cArgs) {
    return nullptr;
  }
  VARIANT* argument = &params.rgvarg[params.cArgs - 1 - position];
  if (argument->vt == (VT_BYREF | VT_VARIANT) && argument->pvarVal) {
    return argument->pvarVal;
  }
  return argument;
}

CDispEventSink::~CDispEventSink() { Unadvise(); }

HRESULT CDispEventSink::Advise(IUnknown* source)
{
  if (!source) {
    return E_INVALIDARG;
  }
  if (source_) {
    return E_UNEXPECTED;
  }
  HRESULT result = AtlAdvise(source, static_cast<IDispatch*>(this), events_, &cookie_);
  if (SUCCEEDED(result)) {
    source_ = source;
  }
  return result;
}

HRESULT CDispEventSink::Unadvise()
{
  if (!source_) {
    return S_FALSE;
  }
  HRESULT result = AtlUnadvise(source_, events_, cookie_);
  source_.Release();
  cookie_ = 0;
  return result;
}

HRESULT CDispEventSink::QueryInterface(REFIID riid, void** ppvObject)
{
  if (!ppvObject) {
    return E_POINTER;
  }
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, events_)) {
    *ppvObject = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *ppvObject = nullptr;
  return E_NOINTERFACE;
}

HRESULT CDispEventSink::GetTypeInfoCount(UINT* pctinfo)
{
  if (!pctinfo) {
    return E_POINTER;
  }
  *pctinfo = 0;
  return S_OK;
}

HRESULT CDispEventSink::Invoke(DISPID dispIdMember, REFIID, LCID, WORD, DISPPARAMS* pDispParams, VARIANT*,
                               EXCEPINFO*, UINT*)
{
  auto found = handlers_.find(dispIdMember);
  if (found != handlers_.end() && found->second) {
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    // A copy, so a handler that replaces or removes itself runs to its end.
    Handler handler = found->second;
    handler(pDispParams ? *pDispParams : none);
  }
  return S_OK;
}
