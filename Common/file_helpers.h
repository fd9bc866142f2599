// Reading a whole file of the device.
#pragma once

#include "base/types.h"
#include "text/cstring.h"

// The file's bytes into bytes; FALSE, bytes unchanged, when it cannot be opened or read.
BOOL ReadWholeFile(const WCHAR* path, CStringA& bytes);
