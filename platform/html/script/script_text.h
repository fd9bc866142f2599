// Text between the script engine and the device: the engine keeps strings in CESU-8 (UTF-16
// code units each written as UTF-8), the device in UTF-16, the document in UTF-8.
#pragma once

#include <duktape.h>

#include <string>
#include <string_view>

namespace kv::html::script {

// Pushes text onto the engine's stack as a string.
void PushText(duk_context* ctx, std::u16string_view text);
void PushUtf8(duk_context* ctx, std::string_view text);
// The string at a stack index (other values converted as the engine's String() does).
std::u16string TextAt(duk_context* ctx, duk_idx_t index);
std::string Utf8At(duk_context* ctx, duk_idx_t index);

}  // namespace kv::html::script
