// The device layer's text: the string class, printf-style formatting and scanning, the run-time's
// wide-character helpers, code pages, and the thread's last error that they report through.
#pragma once

#include "base/errors.h"
#include "base/lasterror.h"
#include "text/codepage.h"
#include "text/cstring.h"
#include "text/format.h"
#include "text/scan.h"
#include "text/widechar.h"
