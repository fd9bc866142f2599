// Wiping a password held in a JSON request once it is no longer needed.
#pragma once

#include "json/value.h"

// Overwrites the text of a string value in place and empties it. For values made from
// run-time text (which own a copy of it), as every request the service client builds does.
void WipeJsonText(Json::Value& text);

// Wipes every string in the value, at any depth: for a request that may carry a secret.
void WipeJsonTexts(Json::Value& value);
