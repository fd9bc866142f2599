// Replacing a file whole, so that nothing the user had is lost to a save that stops half-way or
// to a file that could not be read.
//
// A save writes a temporary file beside the file (its name with ".tmp" appended) and puts it in
// the file's place only once it is complete; until then the old file stays as it was. Should the
// program stop between removing the old file and renaming the new one, the temporary file is the
// only copy: CompleteInterruptedWrite, called before a file is read, puts it in place.
//
// A present file that did not load is moved aside (its name with ".bak" appended) before it is
// first replaced, never overwritten by what little the program could make of it.
#pragma once

#include <functional>

#include "base/types.h"
#include "text/cstring.h"

// Writes the file through write, which is given the open temporary file. FALSE, the file as it
// was and no temporary file left, when the temporary file cannot be created, write returns
// FALSE, or the file cannot be replaced. The folder must exist.
BOOL WriteFileWhole(const WCHAR* path, const std::function<BOOL(HANDLE file)>& write);
// Writes the bytes as the file's whole content, as above.
BOOL WriteFileWhole(const WCHAR* path, const CStringA& bytes);

// Moves a present file to its name with ".bak" appended (replacing an earlier one kept there).
// TRUE when nothing is left at path; FALSE, the file in place, when it cannot be moved.
BOOL KeepFileAside(const WCHAR* path);

// Deletes the file together with a temporary file that an interrupted write left of it. FALSE
// when there was neither, or either is still there.
BOOL DeleteFileWhole(const WCHAR* path);

// When the file is missing and its temporary file is there, renames the temporary file to the
// file.
void CompleteInterruptedWrite(const WCHAR* path);
