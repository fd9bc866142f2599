// The two styled writers over the shared indented form: one into the string it returns, one
// onto the caller's stream as the text is made.
#include "json/writer.h"
#include "styled_text.h"

namespace Json {

std::u16string StyledWriter::write(const Value& root)
{
  std::u16string text;
  TextSink out(text);
  StyledText(u"   ", false).write(root, out);
  return text;
}

StyledStreamWriter::StyledStreamWriter(const std::u16string& indentation) : indentation_(indentation) {}

void StyledStreamWriter::write(std::basic_ostream<char16_t>& out, const Value& root)
{
  TextSink sink(out);
  StyledText(indentation_, true).write(root, sink);
}

std::basic_ostream<char16_t>& operator<<(std::basic_ostream<char16_t>& out, const Value& root)
{
  StyledStreamWriter writer(u"\t");
  writer.write(out, root);
  return out;
}

}  // namespace Json
