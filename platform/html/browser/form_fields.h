// The form controls of the page shown, as child windows of the page view laid over the boxes
// the layout kept for them: EDIT for text and passwords (and text areas), BUTTON for buttons,
// check boxes and radio buttons, COMBOBOX for lists. The document keeps each control's state;
// the windows show it, and what the user types or chooses goes back into it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "html/dom/document.h"
#include "windows.h"

namespace kv::html {

enum class FieldKind { Text, Password, TextArea, Button, Check, Radio, List };

// What a field window tells the page view: keys before the field takes them, and the focus.
class FieldEvents {
 public:
  // True when the page took the key (the field does not see it).
  virtual bool FieldKey(HWND field, WPARAM key) = 0;
  virtual void FieldFocused(HWND field) = 0;

 protected:
  ~FieldEvents() = default;
};

struct LaidOutControl {
  uint32_t node;
  RECT box;  // page coordinates
};

class FormFields {
 public:
  FormFields(HWND view, FieldEvents& events, int dpi);
  ~FormFields();
  FormFields(const FormFields&) = delete;
  FormFields& operator=(const FormFields&) = delete;

  // The size the layout keeps for a control; nothing for an element that is no shown control.
  std::optional<SIZE> SizeOf(dom::Document& document, const dom::Node& element) const;
  // One window for each laid-out control, at its box less the scroll position, showing its
  // state; windows of controls no longer laid out are destroyed.
  void Place(dom::Document& document, const std::vector<LaidOutControl>& controls, int scroll);
  void Scrolled(int scroll);
  void Clear();

  // The node of a field window (0: none) and the window of a node (null: none).
  uint32_t NodeOf(HWND field) const;
  HWND WindowOf(uint32_t node) const;
  std::optional<FieldKind> KindOf(HWND field) const;
  // The user changed a field (EN_CHANGE, CBN_SELCHANGE): its state takes the change.
  void TakeInput(dom::Document& document, HWND field);

 private:
  struct Field {
    uint32_t node;
    FieldKind kind;
    HWND hwnd;
    RECT box;
  };

  static std::optional<FieldKind> KindOfElement(const dom::Node& element);
  HWND Create(FieldKind kind);
  void Show(dom::Document& document, dom::Node& element, const Field& field);
  void Move(const Field& field, int scroll) const;
  void Destroy(const Field& field);
  SIZE TextSize(const std::u16string& text) const;
  int Scaled(int pixels) const { return pixels * dpi_ / 96; }

  HWND view_;
  FieldEvents& events_;
  int dpi_;
  HFONT font_ = nullptr;
  TEXTMETRICW metrics_{};
  std::vector<Field> fields_;
  int nextId_ = 1;
};

// The label of a button control: its value, else a <button>'s text, else the default of its
// kind ("提交" for submit, "重置" for reset).
std::u16string ButtonLabel(const dom::Node& element);

}  // namespace kv::html
