// The rules of forms on the document: which elements are controls and of what kind, the options
// of a list, radio groups, and the data a form submits.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "document.h"

namespace kv::html::dom {

// A control's kind, lower case: the input's type ("text" when missing or unknown; "password",
// "hidden", "checkbox", "radio", "submit", "reset", "button", "image"), "select", "textarea";
// a <button>'s type ("submit" by default). Empty for an element that is no control.
std::string ControlType(const Node& element);
bool IsSubmitButton(const Node& element);

// The form an element lies in; null when none.
Node* FormOf(Node& element);
// The controls of a form, in document order.
std::vector<Node*> FormControls(const Document& document, const Node& form);
// The options of a list, in document order.
std::vector<Node*> Options(const Document& document, const Node& select);
// The value of an option: its value attribute, else its text with its blanks collapsed.
std::string OptionValue(const Node& option);
std::string OptionText(const Node& option);
// A control's value as scripts read it: a field's text, a list's chosen option's value, a check
// box's or button's value attribute ("on" for check boxes without one).
std::string ControlValue(Document& document, Node& control);
// Checks or unchecks a check box or radio button; checking a radio button unchecks the others
// of its group (the same name in the same form, or outside any form).
void SetChecked(Document& document, Node& control, bool checked);

// The name and value pairs the form submits, in document order, with the submit button that was
// used (null: none, as by a script's submit()).
std::vector<std::pair<std::string, std::string>> FormData(Document& document, Node& form, const Node* submitter);

// The pairs as application/x-www-form-urlencoded bytes: UTF-8, letters, digits and "*-._"
// as they are, the space as "+", every other byte as "%XX".
std::string UrlEncodedForm(const std::vector<std::pair<std::string, std::string>>& pairs);

}  // namespace kv::html::dom
