// The two styled writers over the shared indented form.
#include "json/writer.h"
#include "styled_text.h"

namespace Json {

std::u16string StyledWriter::write(const Value& root)
{
  return StyledText(u"   ", false).write(root);
}

StyledStreamWriter::StyledStreamWriter(const std::u16string& indentation) : indentation_(indentation) {}

void StyledStreamWriter::write(std::basic_ostream<char16_t>& out, const Value& root)
{
  std::u16string text = StyledText(indentation_, true).write(root);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

std::basic_ostream<char16_t>& operator<<(std::basic_ostream<char16_t>& out, const Value& root)
{
  StyledStreamWriter writer(u"\t");
  writer.write(out, root);
  return out;
}

}  // namespace Json
