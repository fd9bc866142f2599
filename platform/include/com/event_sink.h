// The receiving side of events: a sink with a handler per event (by dispatch id) that a window
// or dialog keeps as a member and connects to an event source. Events arrive on the thread that
// fires them; an event without a handler is answered S_OK and ignored.
#pragma once

#include <functional>
#include <map>

#include "atl/com_ptr.h"
#include "base/types.h"
#include "com/dispatch.h"

// The argument at position (0 for the first, in declaration order) of an event's DISPPARAMS,
// with a by-reference VARIANT followed to the VARIANT it names; null past the last argument.
VARIANT* EventArgument(const DISPPARAMS& params, UINT position);

class CDispEventSink final : public IDispatch {
 public:
  using Handler = std::function<void(DISPPARAMS& params)>;

  // The sink of the event interface with that id.
  explicit CDispEventSink(const IID& events) : events_(events) {}
  // Disconnects when still connected.
  ~CDispEventSink();
  CDispEventSink(const CDispEventSink&) = delete;
  CDispEventSink& operator=(const CDispEventSink&) = delete;

  // The handler of one event; a later call for the same id replaces it.
  void On(DISPID id, Handler handler) { handlers_[id] = std::move(handler); }
  // Connects to the source's connection point for the event interface; one source at a time
  // (E_UNEXPECTED while connected).
  HRESULT Advise(IUnknown* source);
  // Disconnects from the source; S_FALSE when not connected.
  HRESULT Unadvise();
  bool IsConnected() const { return source_ != nullptr; }

  // The sink lives as long as its owner; reference counts are kept only for the source's sake.
  HRESULT QueryInterface(REFIID riid, void** ppvObject) override;
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override { return --references_; }
  HRESULT GetTypeInfoCount(UINT* pctinfo) override;
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                 VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

 private:
  IID events_;
  std::map<DISPID, Handler> handlers_;
  CComPtr<IUnknown> source_;
  DWORD cookie_ = 0;
  ULONG references_ = 0;
};
