// A program for the installer's tests' packages: ends with exit code 7, so a test can tell that
// the installed file runs.
#include "kernel/entry.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
  return 7;
}
