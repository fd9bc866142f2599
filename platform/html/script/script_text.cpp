#include "script_text.h"

#include "html/page/utf8_text.h"

namespace kv::html::script {

void PushText(duk_context* ctx, std::u16string_view text)
{
  std::string cesu;
  cesu.reserve(text.size());
  for (char16_t unit : text) {
    if (unit < 0x80) {
      cesu += static_cast<char>(unit);
    } else if (unit < 0x800) {
      cesu += static_cast<char>(0xC0 | (unit >> 6));
      cesu += static_cast<char>(0x80 | (unit & 0x3F));
    } else {
      cesu += static_cast<char>(0xE0 | (unit >> 12));
      cesu += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
      cesu += static_cast<char>(0x80 | (unit & 0x3F));
    }
  }
  duk_push_lstring(ctx, cesu.data(), cesu.size());
}

void PushUtf8(duk_context* ctx, std::string_view text)
{
  PushText(ctx, Wide(text));
}

std::u16string TextAt(duk_context* ctx, duk_idx_t index)
{
  duk_size_t length = 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(duk_safe_to_lstring(ctx, index, &length));
  std::u16string text;
  text.reserve(length);
  for (size_t i = 0; i < length;) {
    const unsigned char lead = bytes[i];
    int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) >= length + (extra == 0)) {
      text += u'\uFFFD';
      ++i;
      continue;
    }
    char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    bool valid = true;
    for (int k = 1; k <= extra; ++k) {
      const unsigned char next = bytes[i + static_cast<size_t>(k)];
      valid = valid && (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    if (!valid) {
      text += u'\uFFFD';
      ++i;
      continue;
    }
    i += static_cast<size_t>(extra) + 1;
    if (code >= 0x10000 && code <= 0x10FFFF) {
      code -= 0x10000;
      text += static_cast<char16_t>(0xD800 + (code >> 10));
      text += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      text += code > 0x10FFFF ? u'\uFFFD' : static_cast<char16_t>(code);
    }
  }
  return text;
}

std::string Utf8At(duk_context* ctx, duk_idx_t index)
{
  return Narrow(TextAt(ctx, index));
}

}  // namespace kv::html::script
