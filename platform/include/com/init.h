// Initialising the component library on a thread. Each thread keeps a count: the first call
// answers S_OK, each further call with the same model S_FALSE, and a call asking for the other
// model RPC_E_CHANGED_MODE without counting. CoUninitialize undoes one counted call; more calls
// than were counted do nothing.
#pragma once

#include "base/types.h"

#define COINIT_MULTITHREADED 0x0
#define COINIT_APARTMENTTHREADED 0x2

#define RPC_E_CHANGED_MODE (static_cast<HRESULT>(0x80010106u))

// pvReserved must be null (E_INVALIDARG otherwise).
HRESULT CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit);
void CoUninitialize();
