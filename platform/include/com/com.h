// The device's component basics: per-thread initialisation, length-prefixed strings (BSTR),
// variants with byte arrays, dispatch interfaces called by name, and event connections.
#pragma once

#include "com/init.h"
#include "com/bstr.h"
#include "com/variant.h"
#include "com/dispatch.h"
#include "com/connection_point.h"
#include "com/event_sink.h"
