#include "com/variant.h"

#include "com/dispatch.h"

void VariantInit(VARIANTARG* pvarg)
{
  if (pvarg) {
    pvarg->vt = VT_EMPTY;
    pvarg->wReserved1 = pvarg->wReserved2 = pvarg->wReserved3 = 0;
  }
}

HRESULT VariantClear(VARIANTARG* pvarg)
{
  if (!pvarg) {
    return E_INVALIDARG;
  }
  VARTYPE vt = pvarg->vt;
  if (vt & VT_BYREF) {
    // A reference owns nothing; only kinds the device offers are accepted.
    VARTYPE target = vt & ~VT_BYREF;
    bool known = target == (VT_ARRAY | VT_UI1) || target == VT_I4 || target == VT_BSTR || target == VT_DISPATCH ||
                 target == VT_BOOL || target == VT_VARIANT || target == VT_UNKNOWN || target == VT_UI1;
    if (!known) {
      return DISP_E_BADVARTYPE;
    }
  } else if (vt == (VT_ARRAY | VT_UI1)) {
    if (HRESULT destroyed = SafeArrayDestroy(pvarg->parray); FAILED(destroyed)) {
      return destroyed;
    }
  } else {
    switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_I4:
    case VT_BOOL:
    case VT_UI1:
      break;
    case VT_BSTR:
      SysFreeString(pvarg->bstrVal);
      break;
    case VT_DISPATCH:
      if (pvarg->pdispVal) {
        pvarg->pdispVal->Release();
      }
      break;
    case VT_UNKNOWN:
      if (pvarg->punkVal) {
        pvarg->punkVal->Release();
      }
      break;
    default:
      return DISP_E_BADVARTYPE;
    }
  }
  VariantInit(pvarg);
  pvarg->byref = nullptr;
  return S_OK;
}
