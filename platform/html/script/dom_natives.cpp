// The native functions under the prelude: reads and changes of the document by node id, and the
// browser's services through the host. A node id that names no node (one that has left the
// document) reads as nothing and changes nothing.
#include <algorithm>
#include <cctype>
#include <cmath>

#include "html/dom/forms.h"
#include "html/dom/markup.h"
#include "html/dom/style_attribute.h"
#include "html/page/utf8_text.h"
#include "page_script.h"
#include "script_text.h"

namespace kv::html::script {
namespace {

using dom::Node;

dom::Document& Doc(duk_context* ctx)
{
  return PageScriptOf(ctx).Document();
}

ScriptHost& Host(duk_context* ctx)
{
  return PageScriptOf(ctx).Host();
}

Node* NodeAt(duk_context* ctx, duk_idx_t index)
{
  const double id = duk_to_number(ctx, index);
  if (!(id >= 1 && id <= 4294967295.0))
    return nullptr;
  Node* node = Doc(ctx).Find(static_cast<uint32_t>(id));
  return node && node->IsElement() ? node : nullptr;
}

duk_ret_t PushId(duk_context* ctx, const Node* node)
{
  duk_push_uint(ctx, node ? node->id : 0);
  return 1;
}

duk_ret_t PushIds(duk_context* ctx, const std::vector<Node*>& nodes)
{
  duk_push_array(ctx);
  for (size_t i = 0; i < nodes.size(); ++i) {
    duk_push_uint(ctx, nodes[i]->id);
    duk_put_prop_index(ctx, -2, static_cast<duk_uarridx_t>(i));
  }
  return 1;
}

duk_ret_t PushString(duk_context* ctx, std::string_view text)
{
  PushUtf8(ctx, text);
  return 1;
}

// attr(id, name): the value, or null.
duk_ret_t Attr(duk_context* ctx)
{
  Node* node = NodeAt(ctx, 0);
  const std::string* value = node ? node->Attribute(LowerAscii(Utf8At(ctx, 1))) : nullptr;
  if (!value) {
    duk_push_null(ctx);
    return 1;
  }
  return PushString(ctx, *value);
}

duk_ret_t SetAttr(duk_context* ctx)
{
  if (Node* node = NodeAt(ctx, 0))
    Doc(ctx).SetAttribute(*node, Utf8At(ctx, 1), Utf8At(ctx, 2));
  return 0;
}

duk_ret_t RemoveAttr(duk_context* ctx)
{
  if (Node* node = NodeAt(ctx, 0))
    Doc(ctx).RemoveAttribute(*node, Utf8At(ctx, 1));
  return 0;
}

duk_ret_t Tag(duk_context* ctx)
{
  Node* node = NodeAt(ctx, 0);
  std::string tag = node ? node->name : std::string();
  for (char& c : tag)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return PushString(ctx, tag);
}

duk_ret_t Type(duk_context* ctx)
{
  Node* node = NodeAt(ctx, 0);
  std::string type = node ? dom::ControlType(*node) : std::string();
  return PushString(ctx, type == "select" ? "select-one" : type);
}

duk_ret_t Value(duk_context* ctx)
{
  Node* node = NodeAt(ctx, 0);
  if (!node)
    return PushString(ctx, "");
  if (node->Is("option"))
    return PushString(ctx, dom::OptionValue(*node));
  return PushString(ctx, dom::ControlValue(Doc(ctx), *node));
}

duk_ret_t SetValue(duk_context* ctx)
{
  Node* node = NodeAt(ctx, 0);
  if (!node)
    return 0;
  dom::Document& document = Doc(ctx);
  const std::string value = Utf8At(ctx, 1);
  const std::string type = dom::ControlType(*node);
  if (type == "select") {
    std::vector<Node*> options = dom::Options(document, *node);
    auto found = std::find_if(options.begin(), options.end(), [&](Node* o) { return dom::OptionValue(*o) == value; });
    document.Control(*node).selectedIndex = found == options.end() ? -1 : static_cast<int>(found - options.begin());
  } else if (type == "text" || type == "password" || type == "textarea" || type == "hidden") {
    document.Control(*node).value = value;
  } else {
    document.SetAttribute(*node, "value", value);
  }
  document.ControlChanged();
  return 0;
}

duk_ret_t Checked(duk_context* ctx)
{
  Node* node = NodeAt(ctx, 0);
  duk_push_boolean(ctx, node && Doc(ctx).Control(*node).checked);
  return 1;
}

duk_ret_t SetChecked(duk_context* ctx)
{
  if (Node* node = NodeAt(ctx, 0)) {
    const std::string type = dom::ControlType(*node);
    if (type == "checkbox" || type == "radio")
      dom::SetChecked(Doc(ctx), *node, duk_to_boolean(ctx, 1));
  }
  return 0;
}

duk_ret_t Text(duk_context* ctx)
{
  Node* node = NodeAt(ctx, 0);
  if (!node)
    return PushString(ctx, "");
  return PushString(ctx, node->Is("option") ? dom::OptionText(*node) : dom::TextOf(*node));
}

duk_ret_t SetText(duk_context* ctx)
{
  if (Node* node = NodeAt(ctx, 0))
    Doc(ctx).SetText(*node, Utf8At(ctx, 1));
  return 0;
}

duk_ret_t InnerHtml(duk_context* ctx)
{
  Node* node = NodeAt(ctx, 0);
  return PushString(ctx, node ? dom::InnerHtml(*node) : std::string());
}

duk_ret_t SetInnerHtml(duk_context* ctx)
{
  if (Node* node = NodeAt(ctx, 0))
    Doc(ctx).SetInnerHtml(*node, Utf8At(ctx, 1));
  return 0;
}

duk_ret_t FormOf(duk_context* ctx)
{
  Node* node = NodeAt(ctx, 0);
  return PushId(ctx, node ? dom::FormOf(*node) : nullptr);
}

duk_ret_t Parent(duk_context* ctx)
{
  Node* node = NodeAt(ctx, 0);
  Node* parent = node ? node->parent : nullptr;
  return PushId(ctx, parent && parent->IsElement() ? parent : nullptr);
}

duk_ret_t Elements(duk_context* ctx)
{
  Node* form = NodeAt(ctx, 0);
  return PushIds(ctx, form ? dom::FormControls(Doc(ctx), *form) : std::vector<Node*>());
}

// formControl(form, name): the form's control of that name or id.
duk_ret_t FormControl(duk_context* ctx)
{
  Node* form = NodeAt(ctx, 0);
  if (!form)
    return PushId(ctx, nullptr);
  const std::string name = Utf8At(ctx, 1);
  for (Node* control : dom::FormControls(Doc(ctx), *form))
    if (control->AttributeOr("name") == name || control->AttributeOr("id") == name)
      return PushId(ctx, control);
  return PushId(ctx, nullptr);
}

duk_ret_t OptionsOf(duk_context* ctx)
{
  Node* node = NodeAt(ctx, 0);
  return PushIds(ctx, node ? dom::Options(Doc(ctx), *node) : std::vector<Node*>());
}

duk_ret_t SelectedIndex(duk_context* ctx)
{
  Node* node = NodeAt(ctx, 0);
  duk_push_int(ctx, node && node->Is("select") ? Doc(ctx).Control(*node).selectedIndex : -1);
  return 1;
}

duk_ret_t SetSelectedIndex(duk_context* ctx)
{
  Node* node = NodeAt(ctx, 0);
  if (!node || !node->Is("select"))
    return 0;
  const double index = duk_to_number(ctx, 1);
  const auto count = static_cast<double>(dom::Options(Doc(ctx), *node).size());
  Doc(ctx).Control(*node).selectedIndex = index >= 0 && index < count ? static_cast<int>(index) : -1;
  Doc(ctx).ControlChanged();
  return 0;
}

duk_ret_t Display(duk_context* ctx)
{
  Node* node = NodeAt(ctx, 0);
  return PushString(ctx, node ? dom::StyleProperty(node->AttributeOr("style"), "display") : std::string());
}

duk_ret_t SetDisplay(duk_context* ctx)
{
  if (Node* node = NodeAt(ctx, 0))
    Doc(ctx).SetAttribute(*node, "style", dom::WithStyleProperty(node->AttributeOr("style"), "display", Utf8At(ctx, 1)));
  return 0;
}

duk_ret_t Title(duk_context* ctx)
{
  return PushString(ctx, Doc(ctx).Title());
}

duk_ret_t SetTitle(duk_context* ctx)
{
  Doc(ctx).SetTitle(Utf8At(ctx, 0));
  return 0;
}

duk_ret_t Forms(duk_context* ctx)
{
  dom::Document& document = Doc(ctx);
  return PushIds(ctx, document.Elements(document.Root(), [](const Node& n) { return n.name == "form"; }));
}

duk_ret_t NamedForm(duk_context* ctx)
{
  const std::string name = Utf8At(ctx, 0);
  return PushId(ctx, name.empty() ? nullptr : Doc(ctx).FindElement([&](const Node& n) {
    return n.name == "form" && n.AttributeOr("name") == name;
  }));
}

duk_ret_t Body(duk_context* ctx)
{
  return PushId(ctx, Doc(ctx).Body());
}

duk_ret_t ById(duk_context* ctx)
{
  return PushId(ctx, Doc(ctx).ElementById(Utf8At(ctx, 0)));
}

duk_ret_t ByName(duk_context* ctx)
{
  const std::string name = Utf8At(ctx, 0);
  dom::Document& document = Doc(ctx);
  return PushIds(ctx, document.Elements(document.Root(), [&](const Node& n) { return n.AttributeOr("name") == name && n.HasAttribute("name"); }));
}

// byTag(under, tag): 0 for the whole document; "*" for every element.
duk_ret_t ByTag(duk_context* ctx)
{
  dom::Document& document = Doc(ctx);
  const Node* under = duk_to_number(ctx, 0) == 0 ? &document.Root() : NodeAt(ctx, 0);
  if (!under)
    return PushIds(ctx, {});
  const std::string tag = LowerAscii(Utf8At(ctx, 1));
  return PushIds(ctx, document.Elements(*under, [&](const Node& n) { return tag == "*" || n.name == tag; }));
}

duk_ret_t Location(duk_context* ctx)
{
  PushText(ctx, Host(ctx).Location());
  return 1;
}

duk_ret_t Navigate(duk_context* ctx)
{
  Host(ctx).Navigate(TextAt(ctx, 0), duk_to_boolean(ctx, 1));
  return 0;
}

duk_ret_t Back(duk_context* ctx)
{
  Host(ctx).GoBack();
  return 0;
}

duk_ret_t Alert(duk_context* ctx)
{
  const std::u16string text = TextAt(ctx, 0);
  ScriptHeap& heap = ScriptHeap::Of(ctx);
  heap.Pause();
  Host(ctx).Alert(text);
  heap.Resume();
  return 0;
}

duk_ret_t SetTimer(duk_context* ctx)
{
  const double ms = duk_to_number(ctx, 0);
  const unsigned due = std::isfinite(ms) && ms > 0 ? static_cast<unsigned>(std::min(ms, 2147483647.0)) : 0;
  duk_push_uint(ctx, Host(ctx).StartTimer(due));
  return 1;
}

duk_ret_t ClearTimer(duk_context* ctx)
{
  Host(ctx).StopTimer(duk_to_uint32(ctx, 0));
  return 0;
}

duk_ret_t Submit(duk_context* ctx)
{
  Node* form = NodeAt(ctx, 0);
  if (form && form->Is("form"))
    Host(ctx).Submit(*form);
  return 0;
}

}  // namespace

void PushNatives(duk_context* ctx)
{
  static const duk_function_list_entry kNatives[] = {
      {"attr", Attr, 2},
      {"setAttr", SetAttr, 3},
      {"removeAttr", RemoveAttr, 2},
      {"tag", Tag, 1},
      {"type", Type, 1},
      {"value", Value, 1},
      {"setValue", SetValue, 2},
      {"checked", Checked, 1},
      {"setChecked", SetChecked, 2},
      {"text", Text, 1},
      {"setText", SetText, 2},
      {"innerHTML", InnerHtml, 1},
      {"setInnerHTML", SetInnerHtml, 2},
      {"formOf", FormOf, 1},
      {"parent", Parent, 1},
      {"elements", Elements, 1},
      {"formControl", FormControl, 2},
      {"options", OptionsOf, 1},
      {"selectedIndex", SelectedIndex, 1},
      {"setSelectedIndex", SetSelectedIndex, 2},
      {"display", Display, 1},
      {"setDisplay", SetDisplay, 2},
      {"title", Title, 0},
      {"setTitle", SetTitle, 1},
      {"forms", Forms, 0},
      {"namedForm", NamedForm, 1},
      {"body", Body, 0},
      {"byId", ById, 1},
      {"byName", ByName, 1},
      {"byTag", ByTag, 2},
      {"location", Location, 0},
      {"navigate", Navigate, 2},
      {"back", Back, 0},
      {"alert", Alert, 1},
      {"setTimer", SetTimer, 1},
      {"clearTimer", ClearTimer, 1},
      {"submit", Submit, 1},
      {nullptr, nullptr, 0},
  };
  duk_push_object(ctx);
  duk_put_function_list(ctx, -1, kNatives);
}

}  // namespace kv::html::script
