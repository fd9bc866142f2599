// Runs the event parser over a wide text: a gateway reply or a stored message.
#pragma once

#include "base/types.h"
#include "json/push_parser.h"

// Fills config for a reply (depth 20, block comments allowed, reals handed over as text, the
// callback and its context), converts text to UTF-8 and feeds it to a parser up to its
// terminating zero. Returns 1 when the text is one complete object or array; 0 at the first
// rejected byte (nothing after it reaches the callback), for an unfinished text, and when
// memory runs out. A null config uses one of the call's own.
int ParseJsonText(JsonPushParserConfig* config, const WCHAR* text, JsonEventCallback callback, void* context);
