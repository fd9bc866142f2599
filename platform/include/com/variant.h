// VARIANT: a value of one of several kinds, tagged by vt. The kinds offered are empty, null,
// 32-bit integer, BSTR, boolean, byte, dispatch and unknown interface pointers, byte arrays
// (SAFEARRAY of VT_UI1), and references (VT_BYREF) to any of them or to another VARIANT.
// A variant owns its BSTR, its interface reference and its array; a reference owns nothing.
#pragma once

#include "base/types.h"
#include "base/unknown.h"
#include "com/bstr.h"

struct IDispatch;

typedef USHORT VARTYPE;
typedef SHORT VARIANT_BOOL;
#define VARIANT_TRUE (static_cast<VARIANT_BOOL>(-1))
#define VARIANT_FALSE (static_cast<VARIANT_BOOL>(0))

enum VARENUM : VARTYPE {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I4 = 3,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_UNKNOWN = 13,
  VT_UI1 = 17,
  VT_ARRAY = 0x2000,
  VT_BYREF = 0x4000,
};
#define VT_TYPEMASK 0x0FFF

#define DISP_E_BADVARTYPE (static_cast<HRESULT>(0x80020008u))
#define DISP_E_ARRAYISLOCKED (static_cast<HRESULT>(0x8002000Du))
#define DISP_E_BADINDEX (static_cast<HRESULT>(0x8002000Bu))

struct SAFEARRAYBOUND {
  ULONG cElements;
  LONG lLbound;
};

// An array of cDims dimensions (one, for the arrays offered) of cbElements-byte elements at
// pvData. cLocks counts the SafeArrayAccessData calls not yet undone.
struct SAFEARRAY {
  USHORT cDims;
  USHORT fFeatures;
  ULONG cbElements;
  ULONG cLocks;
  PVOID pvData;
  SAFEARRAYBOUND rgsabound[1];
};
typedef SAFEARRAY* LPSAFEARRAY;

struct VARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    LONG lVal;
    BYTE bVal;
    VARIANT_BOOL boolVal;
    BSTR bstrVal;
    IUnknown* punkVal;
    IDispatch* pdispVal;
    SAFEARRAY* parray;
    LONG* plVal;
    BYTE* pbVal;
    VARIANT_BOOL* pboolVal;
    BSTR* pbstrVal;
    IUnknown** ppunkVal;
    IDispatch** ppdispVal;
    SAFEARRAY** pparray;
    VARIANT* pvarVal;
    PVOID byref;
  };
};
typedef VARIANT VARIANTARG;
typedef VARIANT* LPVARIANT;

#define V_VT(v) ((v)->vt)
#define V_ISBYREF(v) (((v)->vt & VT_BYREF) != 0)
#define V_I4(v) ((v)->lVal)
#define V_BOOL(v) ((v)->boolVal)
#define V_BSTR(v) ((v)->bstrVal)
#define V_DISPATCH(v) ((v)->pdispVal)
#define V_UNKNOWN(v) ((v)->punkVal)
#define V_ARRAY(v) ((v)->parray)
#define V_VARIANTREF(v) ((v)->pvarVal)
#define V_BYREF(v) ((v)->byref)

// Makes the variant empty without looking at what it held.
void VariantInit(VARIANTARG* pvarg);
// Frees what the variant owns (its BSTR, its interface reference, its array) and makes it empty.
// A kind not offered answers DISP_E_BADVARTYPE and leaves the variant as it was; a locked array
// answers DISP_E_ARRAYISLOCKED likewise.
HRESULT VariantClear(VARIANTARG* pvarg);

// A one-dimensional array of cElements elements from index lLbound, zeroed. Only VT_UI1 (bytes)
// is offered; null for any other type or when memory runs out.
SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements);
// Frees the array and its data; DISP_E_ARRAYISLOCKED while its data is accessed.
HRESULT SafeArrayDestroy(SAFEARRAY* psa);
// Locks the array and gives its data; SafeArrayUnaccessData undoes one lock.
HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** ppvData);
HRESULT SafeArrayUnaccessData(SAFEARRAY* psa);
UINT SafeArrayGetDim(SAFEARRAY* psa);
UINT SafeArrayGetElemsize(SAFEARRAY* psa);
HRESULT SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* pvt);
// Bounds of dimension nDim (from 1); DISP_E_BADINDEX for another dimension.
HRESULT SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* plLbound);
HRESULT SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* plUbound);
