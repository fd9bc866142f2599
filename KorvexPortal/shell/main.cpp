// The entry of the client program KorvexPortal.
#include "kernel/entry.h"
#include "program_entry.h"

namespace {

// The program's one application object, made before the entry runs.
CKorvexPortalShellApp g_application;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand)
{
  return RunClientProgram(g_application, instance, commandLine, showCommand);
}
