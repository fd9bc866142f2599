// The client program's start and end around the application's run: the single-instance test,
// the platform services the screens need (set up before the run and taken down after it in the
// reverse order), and the end of the process.
#pragma once

#include "portal_shell_app.h"

// 1 when a running client was told and this copy is to end; otherwise runs the application and
// ends the process with exit code 0 (it does not return then). Without a resource library the
// user is told that the client cannot show its screens, and the process ends the same way.
int RunClientProgram(CKorvexPortalShellApp& app, HINSTANCE instance, const WCHAR* commandLine, int showCommand);

// The platform services the screens need and the application's start, on the thread that will
// run the application; StopClientServices takes them down again on the same thread after the run.
void StartClientServices(CKorvexPortalShellApp& app, HINSTANCE instance);
void StopClientServices(CKorvexPortalShellApp& app);
