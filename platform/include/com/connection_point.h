// Event connections: an object that fires events offers, through IConnectionPointContainer, a
// connection point per event interface; a sink (an IDispatch answering that interface's id)
// connects with Advise and disconnects with Unadvise and the cookie Advise gave.
// CConnectionPoint is the firing side's connection point for one event interface.
#pragma once

#include <vector>

#include "atl/com_ptr.h"
#include "base/types.h"
#include "base/unknown.h"
#include "com/dispatch.h"

// {B196B284-BAB4-101A-B69C-00AA00341D07}
inline constexpr IID IID_IConnectionPointContainer = {
    0xB196B284, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
// {B196B286-BAB4-101A-B69C-00AA00341D07}
inline constexpr IID IID_IConnectionPoint = {
    0xB196B286, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};

#define CONNECT_E_NOCONNECTION (static_cast<HRESULT>(0x80040200u))
#define CONNECT_E_CANNOTCONNECT (static_cast<HRESULT>(0x80040202u))

struct IConnectionPoint : IUnknown {
  virtual HRESULT GetConnectionInterface(IID* pIID) = 0;
  // CONNECT_E_CANNOTCONNECT when the sink answers neither the event interface nor IDispatch.
  virtual HRESULT Advise(IUnknown* pUnkSink, DWORD* pdwCookie) = 0;
  // CONNECT_E_NOCONNECTION for a cookie that names no connection.
  virtual HRESULT Unadvise(DWORD dwCookie) = 0;

 protected:
  ~IConnectionPoint() = default;
};

struct IConnectionPointContainer : IUnknown {
  // CONNECT_E_NOCONNECTION when the object fires no such events.
  virtual HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) = 0;

 protected:
  ~IConnectionPointContainer() = default;
};

// Connects the sink to the source's connection point for iid; *pdw receives the cookie.
HRESULT AtlAdvise(IUnknown* pUnkCP, IUnknown* pUnk, const IID& iid, LPDWORD pdw);
HRESULT AtlUnadvise(IUnknown* pUnkCP, const IID& iid, DWORD dw);

// The connection point of one event interface, part of the object that fires the events: it
// takes its references through that object (AddRef and Release go to the owner).
class CConnectionPoint final : public IConnectionPoint {
 public:
  CConnectionPoint(IUnknown& owner, const IID& events) : owner_(owner), events_(events) {}
  CConnectionPoint(const CConnectionPoint&) = delete;
  CConnectionPoint& operator=(const CConnectionPoint&) = delete;

  HRESULT QueryInterface(REFIID riid, void** ppvObject) override;
  ULONG AddRef() override { return owner_.AddRef(); }
  ULONG Release() override { return owner_.Release(); }
  HRESULT GetConnectionInterface(IID* pIID) override;
  HRESULT Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override;
  HRESULT Unadvise(DWORD dwCookie) override;

  const IID& Events() const { return events_; }
  // Calls the event on every connected sink, in the order they connected, with the arguments
  // last first (as DISPPARAMS holds them). A sink may connect or disconnect sinks meanwhile;
  // those connected when the call began are called (while still connected).
  void Fire(DISPID id, VARIANTARG* arguments, UINT count);
  bool HasSinks() const { return !sinks_.empty(); }

 private:
  struct Sink {
    DWORD cookie;
    CComPtr<IDispatch> dispatch;
  };
  IUnknown& owner_;
  IID events_;
  std::vector<Sink> sinks_;
  DWORD nextCookie_ = 1;
};
