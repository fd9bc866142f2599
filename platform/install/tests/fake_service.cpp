// A service library for the installer's tests' packages (prefix FKS); it is installed and
// registered, never run.
#include "base/types.h"

extern "C" __attribute__((visibility("default"))) DWORD FKS_Init(DWORD)
{
  return 0;
}
