// Dispatch interfaces: objects whose members are called by number (a DISPID), found by name.
// Arguments travel in a DISPPARAMS, last argument first, as VARIANTs; the callee does not free
// them. Type information is not offered.
#pragma once

#include "base/types.h"
#include "base/unknown.h"
#include "com/bstr.h"
#include "com/variant.h"

typedef LONG DISPID;
typedef LONG SCODE;

// {00000000-0000-0000-0000-000000000000}
inline constexpr IID IID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
// {00020400-0000-0000-C000-000000000046}
inline constexpr IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// {A6EF9860-C720-11D0-9337-00A0C90DCAA9}
inline constexpr IID IID_IDispatchEx = {0xA6EF9860, 0xC720, 0x11D0, {0x93, 0x37, 0x00, 0xA0, 0xC9, 0x0D, 0xCA, 0xA9}};

#define LOCALE_USER_DEFAULT 0x0400

// What Invoke is asked to do.
#define DISPATCH_METHOD 0x1
#define DISPATCH_PROPERTYGET 0x2
#define DISPATCH_PROPERTYPUT 0x4
#define DISPATCH_PROPERTYPUTREF 0x8

#define DISPID_UNKNOWN (-1)
#define DISPID_VALUE 0
#define DISPID_PROPERTYPUT (-3)
// The named argument that carries the object a script function is called on.
#define DISPID_THIS (-613)

// GetDispID's name matching.
#define fdexNameCaseSensitive 0x00000001
#define fdexNameEnsure 0x00000002
#define fdexNameImplicit 0x00000004
#define fdexNameCaseInsensitive 0x00000008

#define DISP_E_UNKNOWNINTERFACE (static_cast<HRESULT>(0x80020001u))
#define DISP_E_MEMBERNOTFOUND (static_cast<HRESULT>(0x80020003u))
#define DISP_E_PARAMNOTFOUND (static_cast<HRESULT>(0x80020004u))
#define DISP_E_TYPEMISMATCH (static_cast<HRESULT>(0x80020005u))
#define DISP_E_UNKNOWNNAME (static_cast<HRESULT>(0x80020006u))
#define DISP_E_EXCEPTION (static_cast<HRESULT>(0x80020009u))
#define DISP_E_BADPARAMCOUNT (static_cast<HRESULT>(0x8002000Eu))

struct DISPPARAMS {
  VARIANTARG* rgvarg;        // the arguments, last first
  DISPID* rgdispidNamedArgs; // the ids of the first cNamedArgs of them
  UINT cArgs;
  UINT cNamedArgs;
};

// What a member that failed with DISP_E_EXCEPTION tells; the caller frees the BSTRs.
struct EXCEPINFO {
  WORD wCode;
  WORD wReserved;
  BSTR bstrSource;
  BSTR bstrDescription;
  BSTR bstrHelpFile;
  DWORD dwHelpContext;
  PVOID pvReserved;
  HRESULT (*pfnDeferredFillIn)(EXCEPINFO*);
  SCODE scode;
};

struct ITypeInfo;         // not offered: GetTypeInfoCount answers 0
struct IServiceProvider;  // not offered: InvokeEx callers pass null

struct IDispatch : IUnknown {
  virtual HRESULT GetTypeInfoCount(UINT* pctinfo) = 0;
  virtual HRESULT GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) = 0;
  virtual HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) = 0;
  virtual HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                         VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) = 0;

 protected:
  ~IDispatch() = default;
};
typedef IDispatch* LPDISPATCH;

// A dispatch object whose members may come and go (a page's script object): members are found
// by name one at a time and called with named arguments.
struct IDispatchEx : IDispatch {
  // DISP_E_UNKNOWNNAME when the object has no member of that name.
  virtual HRESULT GetDispID(BSTR bstrName, DWORD grfdex, DISPID* pid) = 0;
  virtual HRESULT InvokeEx(DISPID id, LCID lcid, WORD wFlags, DISPPARAMS* pdp, VARIANT* pvarRes, EXCEPINFO* pei,
                           IServiceProvider* pspCaller) = 0;

 protected:
  ~IDispatchEx() = default;
};
