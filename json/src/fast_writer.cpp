// The compact form: no white space, members in member order, array gaps written as null.
#include <utility>

#include "json/writer.h"
#include "text_out.h"

namespace Json {

Writer::~Writer() = default;

std::u16string FastWriter::write(const Value& root)
{
  document_.clear();
  writeValue(root);
  document_.push_back(u'\n');
  return std::move(document_);
}

void FastWriter::writeValue(const Value& value)
{
  switch (value.type()) {
    case arrayValue: {
      document_.push_back(u'[');
      UInt size = value.size();
      UInt next = 0;
      // Walk the entries in order and fill the gaps between them with null.
      const auto end = value.end();
      for (auto element = value.begin(); element != end && next < size; ++element) {
        UInt index = element.index();
        if (index >= size) {
          continue;
        }
        for (; next < index; ++next) {
          document_ += next == 0 ? u"null" : u",null";
        }
        if (next != 0) {
          document_.push_back(u',');
        }
        writeValue(*element);
        next = index + 1;
      }
      document_.push_back(u']');
      break;
    }
    case objectValue: {
      document_.push_back(u'{');
      bool first = true;
      const auto end = value.end();
      for (auto member = value.begin(); member != end; ++member) {
        if (!first) {
          document_.push_back(u',');
        }
        first = false;
        appendQuoted(document_, member.memberName());
        document_ += yamlCompatible_ ? u": " : u":";
        writeValue(*member);
      }
      document_.push_back(u'}');
      break;
    }
    default:
      appendScalar(document_, value);
      break;
  }
}

}  // namespace Json
