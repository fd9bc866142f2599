#include "form_fields.h"

#include <algorithm>

#include "html/dom/forms.h"
#include "html/page/utf8_text.h"

namespace kv::html {
namespace {

// The field windows are subclassed: the page view hears of keys and focus first.
struct Subclass {
  WNDPROC original;
  FieldEvents* events;
};

LRESULT CALLBACK FieldProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  auto* subclass = reinterpret_cast<Subclass*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!subclass)
    return DefWindowProcW(hwnd, message, wParam, lParam);
  const WNDPROC original = subclass->original;
  switch (message) {
  case WM_KEYDOWN:
    if (subclass->events->FieldKey(hwnd, wParam))
      return 0;
    break;
  case WM_CHAR:
    // The characters of keys the page takes (Tab, Return) are not typed into a field.
    if ((wParam == u'\t' || wParam == u'\r') && !(GetWindowLongW(hwnd, GWL_STYLE) & ES_MULTILINE))
      return 0;
    break;
  case WM_SETFOCUS: {
    const LRESULT result = CallWindowProcW(original, hwnd, message, wParam, lParam);
    if (auto* still = reinterpret_cast<Subclass*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
      still->events->FieldFocused(hwnd);
    return result;
  }
  case WM_NCDESTROY:
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    delete subclass;
    break;
  default:
    break;
  }
  return CallWindowProcW(original, hwnd, message, wParam, lParam);
}

std::u16string WindowText(HWND hwnd)
{
  std::u16string text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, u'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

int Number(const dom::Node& element, std::string_view attribute, int otherwise)
{
  const std::string text = element.AttributeOr(attribute);
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9')
      return otherwise;
    value = std::min(value * 10 + (c - '0'), 1000);
  }
  return text.empty() || value == 0 ? otherwise : value;
}

}  // namespace

std::u16string ButtonLabel(const dom::Node& element)
{
  if (const std::string* value = element.Attribute("value"))
    return Wide(*value);
  if (element.Is("button"))
    return Wide(dom::TextOf(element));
  const std::string type = dom::ControlType(element);
  return type == "reset" ? u"重置" : type == "submit" || type == "image" ? u"提交" : u"";
}

FormFields::FormFields(HWND view, FieldEvents& events, int dpi) : view_(view), events_(events), dpi_(dpi)
{
  LOGFONTW font{};
  font.lfHeight = -Scaled(12);
  font.lfWeight = FW_NORMAL;
  font_ = CreateFontIndirectW(&font);
  HDC dc = GetDC(view_);
  HGDIOBJ old = SelectObject(dc, font_);
  GetTextMetricsW(dc, &metrics_);
  SelectObject(dc, old);
  ReleaseDC(view_, dc);
}

FormFields::~FormFields()
{
  Clear();
  DeleteObject(font_);
}

std::optional<FieldKind> FormFields::KindOfElement(const dom::Node& element)
{
  const std::string type = dom::ControlType(element);
  if (type.empty() || type == "hidden")
    return std::nullopt;
  if (type == "text")
    return FieldKind::Text;
  if (type == "password")
    return FieldKind::Password;
  if (type == "textarea")
    return FieldKind::TextArea;
  if (type == "checkbox")
    return FieldKind::Check;
  if (type == "radio")
    return FieldKind::Radio;
  if (type == "select")
    return FieldKind::List;
  return FieldKind::Button;
}

SIZE FormFields::TextSize(const std::u16string& text) const
{
  SIZE size{0, metrics_.tmHeight};
  HDC dc = GetDC(view_);
  HGDIOBJ old = SelectObject(dc, font_);
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(view_, dc);
  return size;
}

std::optional<SIZE> FormFields::SizeOf(dom::Document& document, const dom::Node& element) const
{
  const std::optional<FieldKind> kind = KindOfElement(element);
  if (!kind)
    return std::nullopt;
  const int line = metrics_.tmHeight;
  const int average = std::max<int>(metrics_.tmAveCharWidth, 1);
  switch (*kind) {
  case FieldKind::Text:
  case FieldKind::Password:
    return SIZE{Number(element, "size", 20) * average + Scaled(8), line + Scaled(8)};
  case FieldKind::TextArea:
    return SIZE{Number(element, "cols", 20) * average + Scaled(8) + GetSystemMetrics(SM_CXVSCROLL),
                Number(element, "rows", 2) * line + Scaled(8)};
  case FieldKind::Check:
  case FieldKind::Radio:
    return SIZE{Scaled(13), Scaled(13)};  // the box a check box draws
  case FieldKind::Button:
    return SIZE{TextSize(ButtonLabel(element)).cx + Scaled(16), line + Scaled(10)};
  case FieldKind::List: {
    int widest = Scaled(20);
    for (dom::Node* option : dom::Options(document, element))
      widest = std::max<int>(widest, TextSize(Wide(dom::OptionText(*option))).cx);
    return SIZE{widest + GetSystemMetrics(SM_CXVSCROLL) + Scaled(10), line + Scaled(8)};
  }
  }
  return std::nullopt;
}

HWND FormFields::Create(FieldKind kind)
{
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
  const char16_t* className = WC_BUTTONW;
  switch (kind) {
  case FieldKind::Text: style |= WS_BORDER | ES_AUTOHSCROLL, className = WC_EDITW; break;
  case FieldKind::Password: style |= WS_BORDER | ES_AUTOHSCROLL | ES_PASSWORD, className = WC_EDITW; break;
  case FieldKind::TextArea:
    // Without ES_AUTOHSCROLL the edit wraps its lines at its width, as a text area does.
    style |= WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, className = WC_EDITW;
    break;
  case FieldKind::Button: style |= BS_PUSHBUTTON; break;
  case FieldKind::Check: style |= BS_CHECKBOX; break;
  case FieldKind::Radio: style |= BS_RADIOBUTTON; break;
  case FieldKind::List: style |= WS_VSCROLL | CBS_DROPDOWNLIST, className = WC_COMBOBOXW; break;
  }
  HWND hwnd = CreateWindowExW(0, className, u"", style, 0, 0, 0, 0, view_,
                              reinterpret_cast<HMENU>(static_cast<intptr_t>(nextId_++)), nullptr, nullptr);
  if (!hwnd)
    return nullptr;
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  auto* subclass = new Subclass{reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)), &events_};
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(subclass));
  SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FieldProc));
  return hwnd;
}

void FormFields::Show(dom::Document& document, dom::Node& element, const Field& field)
{
  dom::ControlState& state = document.Control(element);
  switch (field.kind) {
  case FieldKind::Text:
  case FieldKind::Password:
  case FieldKind::TextArea: {
    const std::u16string value = Wide(state.value);
    if (WindowText(field.hwnd) != value)
      SetWindowTextW(field.hwnd, value.c_str());
    SendMessageW(field.hwnd, EM_SETREADONLY, element.HasAttribute("readonly"), 0);
    if (element.HasAttribute("maxlength"))
      SendMessageW(field.hwnd, EM_LIMITTEXT, static_cast<WPARAM>(Number(element, "maxlength", 0)), 0);
    break;
  }
  case FieldKind::Button: {
    const std::u16string label = ButtonLabel(element);
    if (WindowText(field.hwnd) != label)
      SetWindowTextW(field.hwnd, label.c_str());
    break;
  }
  case FieldKind::Check:
  case FieldKind::Radio:
    SendMessageW(field.hwnd, BM_SETCHECK, state.checked ? BST_CHECKED : BST_UNCHECKED, 0);
    break;
  case FieldKind::List: {
    std::vector<std::u16string> items;
    for (dom::Node* option : dom::Options(document, element))
      items.push_back(Wide(dom::OptionText(*option)));
    bool same = SendMessageW(field.hwnd, CB_GETCOUNT, 0, 0) == static_cast<LRESULT>(items.size());
    for (size_t i = 0; same && i < items.size(); ++i) {
      std::u16string shown(static_cast<size_t>(SendMessageW(field.hwnd, CB_GETLBTEXTLEN, i, 0)) + 1, u'\0');
      shown.resize(static_cast<size_t>(SendMessageW(field.hwnd, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(shown.data()))));
      same = shown == items[i];
    }
    if (!same) {
      SendMessageW(field.hwnd, CB_RESETCONTENT, 0, 0);
      for (const std::u16string& item : items)
        SendMessageW(field.hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    if (SendMessageW(field.hwnd, CB_GETCURSEL, 0, 0) != state.selectedIndex)
      SendMessageW(field.hwnd, CB_SETCURSEL, static_cast<WPARAM>(state.selectedIndex), 0);
    break;
  }
  }
  EnableWindow(field.hwnd, !element.HasAttribute("disabled"));
}

void FormFields::Move(const Field& field, int scroll) const
{
  int height = field.box.bottom - field.box.top;
  if (field.kind == FieldKind::List) {
    // A list's window holds its dropped list too.
    const int count = static_cast<int>(SendMessageW(field.hwnd, CB_GETCOUNT, 0, 0));
    height += std::clamp(count, 1, 6) * (metrics_.tmHeight + Scaled(4));
  }
  MoveWindow(field.hwnd, field.box.left, field.box.top - scroll, field.box.right - field.box.left, height, TRUE);
}

void FormFields::Destroy(const Field& field)
{
  if (GetFocus() == field.hwnd)
    SetFocus(view_);
  DestroyWindow(field.hwnd);
}

void FormFields::Place(dom::Document& document, const std::vector<LaidOutControl>& controls, int scroll)
{
  std::vector<Field> placed;
  for (const LaidOutControl& control : controls) {
    dom::Node* element = document.Find(control.node);
    const std::optional<FieldKind> kind = element ? KindOfElement(*element) : std::nullopt;
    if (!kind)
      continue;
    auto existing = std::find_if(fields_.begin(), fields_.end(),
                                 [&](const Field& f) { return f.node == control.node && f.kind == *kind && f.hwnd; });
    Field field{control.node, *kind, nullptr, control.box};
    if (existing != fields_.end()) {
      field.hwnd = existing->hwnd;
      existing->hwnd = nullptr;  // kept
    } else {
      field.hwnd = Create(*kind);
      if (!field.hwnd)
        continue;
    }
    Show(document, *element, field);
    Move(field, scroll);
    placed.push_back(field);
  }
  for (const Field& old : fields_)
    if (old.hwnd)
      Destroy(old);
  fields_ = std::move(placed);
}

void FormFields::Scrolled(int scroll)
{
  for (const Field& field : fields_)
    Move(field, scroll);
}

void FormFields::Clear()
{
  std::vector<Field> old = std::move(fields_);
  fields_.clear();
  for (const Field& field : old)
    Destroy(field);
}

uint32_t FormFields::NodeOf(HWND field) const
{
  for (const Field& f : fields_)
    if (f.hwnd == field)
      return f.node;
  return 0;
}

HWND FormFields::WindowOf(uint32_t node) const
{
  for (const Field& f : fields_)
    if (f.node == node)
      return f.hwnd;
  return nullptr;
}

std::optional<FieldKind> FormFields::KindOf(HWND field) const
{
  for (const Field& f : fields_)
    if (f.hwnd == field)
      return f.kind;
  return std::nullopt;
}

void FormFields::TakeInput(dom::Document& document, HWND field)
{
  auto found = std::find_if(fields_.begin(), fields_.end(), [&](const Field& f) { return f.hwnd == field; });
  dom::Node* element = found == fields_.end() ? nullptr : document.Find(found->node);
  if (!element)
    return;
  dom::ControlState& state = document.Control(*element);
  switch (found->kind) {
  case FieldKind::Text:
  case FieldKind::Password:
  case FieldKind::TextArea:
    state.value = Narrow(WindowText(field));
    break;
  case FieldKind::List:
    state.selectedIndex = static_cast<int>(SendMessageW(field, CB_GETCURSEL, 0, 0));
    break;
  default:
    break;
  }
}

}  // namespace kv::html
