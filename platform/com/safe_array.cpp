// Byte arrays: one block holding the element type, the array record and then the data.
#include "com/variant.h"

#include <cstddef>
#include <cstdlib>
#include <limits>
#include <new>

namespace {

struct ArrayBlock {
  VARTYPE vt;
  SAFEARRAY array;
  // the elements follow
};

constexpr USHORT kHaveVartype = 0x0080;  // the features bit telling that the element type is kept

ArrayBlock* BlockOf(SAFEARRAY* array)
{
  return reinterpret_cast<ArrayBlock*>(reinterpret_cast<char*>(array) - offsetof(ArrayBlock, array));
}

}  // namespace

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements)
{
  if (vt != VT_UI1 || cElements > std::numeric_limits<ULONG>::max() - sizeof(ArrayBlock)) {
    return nullptr;
  }
  void* memory = std::calloc(1, sizeof(ArrayBlock) + cElements);
  if (!memory) {
    return nullptr;
  }
  auto* block = new (memory) ArrayBlock{};
  block->vt = vt;
  SAFEARRAY& array = block->array;
  array.cDims = 1;
  array.fFeatures = kHaveVartype;
  array.cbElements = 1;
  array.pvData = reinterpret_cast<char*>(block) + sizeof(ArrayBlock);
  array.rgsabound[0] = {cElements, lLbound};
  return &array;
}

HRESULT SafeArrayDestroy(SAFEARRAY* psa)
{
  if (!psa) {
    return S_OK;
  }
  if (psa->cLocks > 0) {
    return DISP_E_ARRAYISLOCKED;
  }
  std::free(BlockOf(psa));
  return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** ppvData)
{
  if (!psa || !ppvData) {
    return E_INVALIDARG;
  }
  ++psa->cLocks;
  *ppvData = psa->pvData;
  return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* psa)
{
  if (!psa) {
    return E_INVALIDARG;
  }
  if (psa->cLocks == 0) {
    return E_UNEXPECTED;
  }
  --psa->cLocks;
  return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* psa) { return psa ? psa->cDims : 0; }

UINT SafeArrayGetElemsize(SAFEARRAY* psa) { return psa ? psa->cbElements : 0; }

HRESULT SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* pvt)
{
  if (!psa || !pvt) {
    return E_INVALIDARG;
  }
  *pvt = BlockOf(psa)->vt;
  return S_OK;
}

HRESULT SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* plLbound)
{
  if (!psa || !plLbound) {
    return E_INVALIDARG;
  }
  if (nDim != 1) {
    return DISP_E_BADINDEX;
  }
  *plLbound = psa->rgsabound[0].lLbound;
  return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* plUbound)
{
  if (!psa || !plUbound) {
    return E_INVALIDARG;
  }
  if (nDim != 1) {
    return DISP_E_BADINDEX;
  }
  *plUbound = static_cast<LONG>(psa->rgsabound[0].lLbound + static_cast<int64_t>(psa->rgsabound[0].cElements) - 1);
  return S_OK;
}
