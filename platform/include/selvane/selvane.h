// The secure-input library: it guards password edits so that what the user types is kept
// apart from the edit. A guarded edit holds and shows only a mask of the same length; the typed
// text is read back with GetInputForMe and is wiped when cleared, when the edit's text is set to
// the empty string, when the guard is freed and when the edit is destroyed.
#pragma once

#include "base/types.h"

// The most characters GetInputForMe hands out (a buffer of 260 characters with its terminator);
// a guarded edit takes no more than that.
#define SELVANE_MAX_INPUT 259

// Nonzero on success; calls nest, each with its SelvaneUninitialize.
BOOL SelvaneInitialize(DWORD reserved);
// The last one frees every guard that is left, wiping its text.
void SelvaneUninitialize();
// Puts an EDIT control under guard (its present text becomes the guarded text). FALSE when the
// library is not initialised or the window is not an edit of this process.
BOOL HelpMe(HWND edit);
// Writes the guarded text as UTF-16 into the buffer (bufferBytes long), at most
// SELVANE_MAX_INPUT characters and always terminated. FALSE (and an empty text when there is
// room for one) when the edit is not guarded.
BOOL GetInputForMe(HWND edit, LPWSTR buffer, DWORD bufferBytes);
// Empties the guarded edit and wipes its text.
BOOL ClearInputForMe(HWND edit);
// Ends the guard: the text is wiped and the edit goes back to its own procedure.
BOOL FreeMe(HWND edit);
