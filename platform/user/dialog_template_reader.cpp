// The dialog template reader: walks the template's fields in their alignment.
#include "dialog_template_reader.h"

#include <cstring>

namespace user_dialog {
namespace {

class Reader {
 public:
  explicit Reader(const BYTE* start) : start_(start), at_(start) {}
  void Align(size_t boundary)
  {
    while (static_cast<size_t>(at_ - start_) % boundary)
      ++at_;
  }
  void Raw(void* data, size_t size)
  {
    std::memcpy(data, at_, size);
    at_ += size;
  }
  WORD Word()
  {
    WORD value;
    Raw(&value, sizeof value);
    return value;
  }
  std::u16string String()
  {
    std::u16string text;
    for (WORD character = Word(); character; character = Word())
      text.push_back(static_cast<char16_t>(character));
    return text;
  }
  TemplateName Name()
  {
    WORD first;
    std::memcpy(&first, at_, sizeof first);
    if (first == 0xFFFF) {
      at_ += sizeof first;
      return TemplateName::Ordinal(Word());
    }
    return TemplateName::Text(String());
  }
  const BYTE* At() const { return at_; }
  void Skip(size_t bytes) { at_ += bytes; }

 private:
  const BYTE* start_;
  const BYTE* at_;
};

}  // namespace

ParsedDialog ReadDialogTemplate(const DLGTEMPLATE* dialog)
{
  ParsedDialog parsed;
  Reader in(reinterpret_cast<const BYTE*>(dialog));
  DLGTEMPLATE header;
  in.Raw(&header, sizeof header);
  DialogSpec& spec = parsed.spec;
  spec.style = header.style;
  spec.exStyle = header.dwExtendedStyle;
  spec.x = header.x;
  spec.y = header.y;
  spec.cx = header.cx;
  spec.cy = header.cy;
  spec.menu = in.Name();
  spec.className = in.Name();
  spec.title = in.String();
  if (header.style & DS_SETFONT) {
    spec.pointSize = in.Word();
    spec.faceName = in.String();
  }
  for (WORD i = 0; i < header.cdit; ++i) {
    in.Align(4);
    DLGITEMTEMPLATE itemHeader;
    in.Raw(&itemHeader, sizeof itemHeader);
    ParsedItem item;
    item.spec.style = itemHeader.style;
    item.spec.exStyle = itemHeader.dwExtendedStyle;
    item.spec.x = itemHeader.x;
    item.spec.y = itemHeader.y;
    item.spec.cx = itemHeader.cx;
    item.spec.cy = itemHeader.cy;
    item.spec.id = itemHeader.id;
    item.spec.className = in.Name();
    item.spec.title = in.Name();
    const BYTE* sizeWord = in.At();
    WORD dataBytes = in.Word();
    if (dataBytes) {
      item.creationData = sizeWord;
      item.spec.creationData.assign(in.At(), in.At() + dataBytes);
      in.Skip(dataBytes);
    }
    parsed.items.push_back(std::move(item));
  }
  return parsed;
}

std::u16string ItemClassName(const TemplateName& className)
{
  if (!className.isOrdinal)
    return className.text;
  switch (className.ordinal) {
  case DLG_CLASS_BUTTON: return u"BUTTON";
  case DLG_CLASS_EDIT: return u"EDIT";
  case DLG_CLASS_STATIC: return u"STATIC";
  case DLG_CLASS_LISTBOX: return u"LISTBOX";
  case DLG_CLASS_SCROLLBAR: return u"SCROLLBAR";
  case DLG_CLASS_COMBOBOX: return u"COMBOBOX";
  default: return {};
  }
}

}  // namespace user_dialog
