#include "page_script.h"

#include "html/page/utf8_text.h"
#include "script_text.h"

namespace kv::html::script {
namespace {

// Where the prelude's entries are kept: the global stash, which scripts cannot reach.
constexpr char kEntries[] = "kvEntries";

}  // namespace

bool IsPageScript(const dom::Node& node)
{
  const std::string type = LowerAscii(node.AttributeOr("type"));
  return node.name == "script" &&
         (type.empty() || type.find("javascript") != std::string::npos || type.find("ecmascript") != std::string::npos);
}

PageScript& PageScriptOf(duk_context* ctx)
{
  return *static_cast<PageScript*>(ScriptHeap::Of(ctx).Owner());
}

PageScript::PageScript(dom::Document& document, ScriptHost& host, ScriptLimits limits)
    : document_(document), host_(host), heap_(limits)
{
  heap_.SetOwner(this);
  heap_.Run([](duk_context* ctx) {
    duk_push_global_stash(ctx);
    duk_push_string(ctx, kPrelude);
    duk_push_string(ctx, "prelude");
    duk_compile(ctx, DUK_COMPILE_EVAL);
    duk_call(ctx, 0);  // the prelude's function
    PushNatives(ctx);
    duk_push_global_object(ctx);
    duk_call(ctx, 2);
    duk_put_prop_string(ctx, -2, kEntries);
  });
}

PageScript::~PageScript() = default;

void PageScript::CallEntry(duk_context* ctx, const char* name, int argumentCount)
{
  duk_push_global_stash(ctx);
  duk_get_prop_string(ctx, -1, kEntries);
  duk_get_prop_string(ctx, -1, name);
  duk_dup(ctx, -2);  // the entries object as `this`
  for (int i = 0; i < argumentCount; ++i)
    duk_dup(ctx, -4 - argumentCount);
  duk_call_method(ctx, argumentCount);
}

void PageScript::RunScripts(const ScriptFiles& files)
{
  std::vector<uint32_t> scripts;
  for (dom::Node* node : document_.Elements(document_.Root(), [](const dom::Node& n) { return IsPageScript(n); }))
    scripts.push_back(node->id);
  // The page's blocks share one run's time, however many there are.
  const auto latest = ScriptHeap::Clock::now() + heap_.RunTime();
  for (uint32_t id : scripts) {
    dom::Node* node = document_.Find(id);
    if (!node)
      continue;  // an earlier script took it out
    if (ScriptHeap::Clock::now() >= latest)
      break;
    std::optional<std::string> source;
    if (const std::string* src = node->Attribute("src"))
      source = files ? files(*src) : std::nullopt;  // one that did not come is left out
    else
      source = dom::TextOf(*node);
    if (!source)
      continue;
    heap_.Run(
        [&](duk_context* ctx) {
          PushUtf8(ctx, *source);
          duk_push_string(ctx, "page script");
          duk_compile(ctx, DUK_COMPILE_EVAL);
          duk_call(ctx, 0);
        },
        latest);
  }
}

void PageScript::RunCode(std::u16string_view code)
{
  heap_.Run([&](duk_context* ctx) {
    PushText(ctx, code);
    duk_push_string(ctx, "link");
    duk_compile(ctx, DUK_COMPILE_EVAL);
    duk_call(ctx, 0);
  });
}

void PageScript::FireLoad()
{
  heap_.Run([&](duk_context* ctx) { CallEntry(ctx, "load", 0); });
}

bool PageScript::Fire(const dom::Node& target, std::string_view type)
{
  bool proceed = true;
  const uint32_t id = target.id;
  heap_.Run([&](duk_context* ctx) {
    duk_push_uint(ctx, id);
    duk_push_lstring(ctx, type.data(), type.size());
    CallEntry(ctx, "dispatch", 2);
    proceed = duk_to_boolean(ctx, -1);
  });
  return proceed;
}

void PageScript::FireTimer(unsigned id)
{
  heap_.Run([&](duk_context* ctx) {
    duk_push_uint(ctx, id);
    CallEntry(ctx, "timer", 1);
  });
}

bool PageScript::Defines(std::u16string_view name)
{
  bool defined = false;
  heap_.Run([&](duk_context* ctx) {
    PushText(ctx, name);
    CallEntry(ctx, "has", 1);
    defined = duk_to_boolean(ctx, -1);
  });
  return defined;
}

CallResult PageScript::Call(std::u16string_view name)
{
  CallResult result;
  bool called = false;
  const std::u16string error = heap_.Run([&](duk_context* ctx) {
    duk_push_global_object(ctx);
    PushText(ctx, name);
    duk_get_prop(ctx, -2);
    if (!duk_is_callable(ctx, -1))
      return;
    called = true;
    duk_dup(ctx, -2);
    duk_call_method(ctx, 0);
    if (duk_is_null_or_undefined(ctx, -1))
      result.text.clear();
    else if (duk_is_boolean(ctx, -1))
      result.text = duk_get_boolean(ctx, -1) ? u"true" : u"false";
    else
      result.text = TextAt(ctx, -1);
    result.outcome = CallOutcome::Text;
  });
  if (!error.empty() && called) {
    result.outcome = CallOutcome::Threw;
    result.text = error;
  } else if (!called) {
    result = {};
  }
  return result;
}

}  // namespace kv::html::script
