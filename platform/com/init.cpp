#include "com/init.h"

namespace {

// The calling thread's initialisations not yet undone, and the model they asked for.
struct ThreadState {
  ULONG count = 0;
  DWORD model = COINIT_MULTITHREADED;
};

ThreadState& State()
{
  thread_local ThreadState state;
  return state;
}

bool IsApartment(DWORD coInit) { return (coInit & COINIT_APARTMENTTHREADED) != 0; }

}  // namespace

HRESULT CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit)
{
  if (pvReserved) {
    return E_INVALIDARG;
  }
  ThreadState& state = State();
  if (state.count == 0) {
    state.model = dwCoInit;
    state.count = 1;
    return S_OK;
  }
  if (IsApartment(state.model) != IsApartment(dwCoInit)) {
    return RPC_E_CHANGED_MODE;
  }
  ++state.count;
  return S_FALSE;
}

void CoUninitialize()
{
  ThreadState& state = State();
  if (state.count > 0) {
    --state.count;
  }
}
