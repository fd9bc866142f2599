// The dialog template builder: lays a description out in the template's byte format.
#include "internal/user/dialog_template_writer.h"

#include <cstring>

namespace user_dialog {
namespace {

class Writer {
 public:
  void Align(size_t boundary)
  {
    while (bytes_.size() % boundary)
      bytes_.push_back(0);
  }
  void Raw(const void* data, size_t size)
  {
    auto* begin = static_cast<const BYTE*>(data);
    bytes_.insert(bytes_.end(), begin, begin + size);
  }
  void Word(WORD value) { Raw(&value, sizeof value); }
  void String(const std::u16string& text)
  {
    for (char16_t character : text)
      Word(static_cast<WORD>(character));
    Word(0);
  }
  void Name(const TemplateName& name)
  {
    if (name.isOrdinal) {
      Word(0xFFFF);
      Word(name.ordinal);
    } else {
      String(name.text);
    }
  }
  std::vector<BYTE> Take() { return std::move(bytes_); }

 private:
  std::vector<BYTE> bytes_;
};

}  // namespace

std::vector<BYTE> BuildDialogTemplate(const DialogSpec& spec)
{
  // Counts and sizes are WORDs in the format: more would be cut into a corrupt template.
  if (spec.items.size() > 0xFFFF)
    return {};
  for (const DialogItemSpec& item : spec.items)
    if (item.creationData.size() > 0xFFFF)
      return {};
  Writer out;
  DLGTEMPLATE header{};
  header.style = spec.style | (spec.faceName.empty() ? 0 : DS_SETFONT);
  header.dwExtendedStyle = spec.exStyle;
  header.cdit = static_cast<WORD>(spec.items.size());
  header.x = spec.x;
  header.y = spec.y;
  header.cx = spec.cx;
  header.cy = spec.cy;
  out.Raw(&header, sizeof header);
  out.Name(spec.menu);
  out.Name(spec.className);
  out.String(spec.title);
  if (header.style & DS_SETFONT) {
    out.Word(spec.pointSize);
    out.String(spec.faceName);
  }
  for (const DialogItemSpec& item : spec.items) {
    out.Align(4);
    DLGITEMTEMPLATE itemHeader{};
    itemHeader.style = item.style;
    itemHeader.dwExtendedStyle = item.exStyle;
    itemHeader.x = item.x;
    itemHeader.y = item.y;
    itemHeader.cx = item.cx;
    itemHeader.cy = item.cy;
    itemHeader.id = item.id;
    out.Raw(&itemHeader, sizeof itemHeader);
    out.Name(item.className);
    out.Name(item.title);
    out.Word(static_cast<WORD>(item.creationData.size()));
    out.Raw(item.creationData.data(), item.creationData.size());
  }
  return out.Take();
}

}  // namespace user_dialog
