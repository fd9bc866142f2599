#include "plain_text.h"

namespace kv::html {

std::u16string HtmlOfPlainText(std::u16string_view text)
{
  std::u16string html;
  html.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    switch (text[i]) {
    case u'&': html += u"&amp;"; break;
    case u'<': html += u"&lt;"; break;
    case u'>': html += u"&gt;"; break;
    case u'"': html += u"&quot;"; break;
    case u'\r':
      if (i + 1 < text.size() && text[i + 1] == u'\n')
        ++i;
      html += u"<br>";
      break;
    case u'\n': html += u"<br>"; break;
    default: html += text[i];
    }
  }
  return html;
}

}  // namespace kv::html
