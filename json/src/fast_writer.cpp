// The compact form: no white space, members in member order, array gaps written as null.
#include <utility>

#include "containers.h"
#include "json/writer.h"
#include "text_out.h"

namespace Json {

Writer::~Writer() = default;

namespace {

void writeValue(TextSink& out, const Value& value, bool yamlCompatible)
{
  switch (value.type()) {
    case arrayValue: {
      // Elements in index order, the indexes the array lacks written as null.
      const ArrayValues& elements = ContainerAccess::elements(value);
      const UInt size = value.size();
      out.push_back(u'[');
      UInt next = 0;
      for (size_t position = 0; position < elements.count() && next < size; ++position) {
        const auto index = static_cast<UInt>(elements.indexAt(position));
        if (index >= size) {
          continue;
        }
        for (; next < index; ++next) {
          out += next == 0 ? u"null" : u",null";
        }
        if (next != 0) {
          out.push_back(u',');
        }
        writeValue(out, elements.valueAt(position), yamlCompatible);
        next = index + 1;
      }
      out.push_back(u']');
      break;
    }
    case objectValue: {
      const ObjectValues& members = ContainerAccess::members(value);
      out.push_back(u'{');
      for (size_t position = 0; position < members.count(); ++position) {
        if (position != 0) {
          out.push_back(u',');
        }
        const Member& member = members.memberAt(position);
        appendQuoted(out, member.key.name());
        out.push_back(u':');
        if (yamlCompatible) {
          out.push_back(u' ');
        }
        writeValue(out, member.value, yamlCompatible);
      }
      out.push_back(u'}');
      break;
    }
    default:
      appendScalar(out, value);
      break;
  }
}

}  // namespace

// The text is built in the string returned; a writer that wrote before gives it room for a text
// of the last one's length at once.
std::u16string FastWriter::write(const Value& root)
{
  std::u16string text;
  text.reserve(lastLength_);
  TextSink out(text);
  writeValue(out, root, yamlCompatible_);
  out.push_back(u'\n');
  out.flush();
  lastLength_ = text.size();
  return text;
}

}  // namespace Json
