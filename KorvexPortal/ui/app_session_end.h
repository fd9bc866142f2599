// The end of a session (status 200), shared by HandleCommonStatus and OnSessionResult.
#pragma once

#include "text/cstring.h"

class CKorvexPortalApp;

// Shows the memo (a notice, hidden afterwards), clears the user's name and greeting and shows the
// login dialog again.
void EndSession(CKorvexPortalApp& app, const CStringW& memo);
