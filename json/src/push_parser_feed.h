// Feeding the event parser a run of bytes at once, for the library's own text driver: the same
// as feeding them one by one, stopping at the first rejected byte.
#pragma once

#include <cstddef>

#include "json/push_parser.h"

// Returns how many bytes were accepted: all of them, or those before the rejected one.
size_t JsonPushParserFeed(JsonPushParser* parser, const char* bytes, size_t count);
