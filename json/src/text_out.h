// Appending scalars and quoted texts to a wide string; shared by the writers.
#pragma once

#include <string>

#include "json/value.h"

namespace Json {

void appendInt(std::u16string& out, Int value);
void appendUInt(std::u16string& out, UInt value);
void appendReal(std::u16string& out, double value);
void appendQuoted(std::u16string& out, const WCHAR* text);
// The scalar forms of null, numbers, booleans and strings; nothing for arrays and objects.
void appendScalar(std::u16string& out, const Value& value);

}  // namespace Json
