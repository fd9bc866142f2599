// The scripts of one page: its script blocks, event handlers, timers and the calls the program
// makes by name, run on the document with a stated part of the browser's script interface:
//
//   window (the global object): document, location, history, alert, setTimeout, clearTimeout,
//     onload;
//   document: title, getElementById, getElementsByName, getElementsByTagName, forms (also by
//     name, and each form as document.<name>), body, location;
//   elements: id, name, className, tagName, type, value, checked, disabled, selectedIndex and
//     options (lists), text (options), form, elements and submit() (forms; controls also as
//     form.<name>), innerHTML and innerText (read and set), style.display, getAttribute,
//     setAttribute, removeAttribute, getElementsByTagName, onclick and onsubmit (attributes or
//     functions; returning false, or calling event.preventDefault(), stops the default action);
//   location: href (read and set), assign, replace, and setting window.location;
//   history: back(), go(-1).
//
// What a script asks of the browser (navigating, an alert, a timer, a submitted form) goes to
// the ScriptHost; navigations are the host's to queue until the script has returned.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "html/dom/document.h"
#include "script_heap.h"

namespace kv::html::script {

class ScriptHost {
 public:
  // A location set (`url` as the script gave it); `replace`: without a new history entry.
  virtual void Navigate(const std::u16string& url, bool replace) = 0;
  virtual void GoBack() = 0;
  virtual std::u16string Location() = 0;
  virtual void Alert(const std::u16string& text) = 0;
  virtual void Submit(dom::Node& form) = 0;
  // A timer of `ms` milliseconds; the host calls PageScript::FireTimer with the id it returns
  // (never 0) once it is due.
  virtual unsigned StartTimer(unsigned ms) = 0;
  virtual void StopTimer(unsigned id) = 0;

 protected:
  ~ScriptHost() = default;
};

// Whether an element is a script the page runs: a <script> without a type or of a JavaScript type.
bool IsPageScript(const dom::Node& node);

// The text of a script file, by its src as the page writes it; nothing when it has not come.
using ScriptFiles = std::function<std::optional<std::string>(std::string_view src)>;

enum class CallOutcome {
  Missing,  // no function of that name
  Threw,    // it threw, or ran too long; the text is the error's
  Text,     // it returned; the text is its result
};

struct CallResult {
  CallOutcome outcome = CallOutcome::Missing;
  std::u16string text;
};

class PageScript {
 public:
  PageScript(dom::Document& document, ScriptHost& host, ScriptLimits limits = {});
  ~PageScript();
  PageScript(const PageScript&) = delete;
  PageScript& operator=(const PageScript&) = delete;

  // The page's scripts in document order: those without a type or of a JavaScript type, written
  // in the page or from the file of their src, as `files` gives it (a file it does not give is
  // left out). They share the time of one run: once it is up, the scripts not yet run are left
  // out.
  void RunScripts(const ScriptFiles& files = {});
  // The code of a javascript: link.
  void RunCode(std::u16string_view code);
  // window.onload, else the body's onload.
  void FireLoad();
  // An element's event ("click" bubbles up through its ancestors, "submit" does not). False when
  // a handler stopped the default action.
  bool Fire(const dom::Node& target, std::string_view type);
  void FireTimer(unsigned id);

  // Whether the page defines a global of that name; the function of that name called with the
  // global object as `this`.
  bool Defines(std::u16string_view name);
  CallResult Call(std::u16string_view name);

  // Whether a script is running (a handler that waits on a message box); a timer that comes due
  // meanwhile waits until it returns.
  bool Running() const { return heap_.Depth() > 0; }

  dom::Document& Document() { return document_; }
  ScriptHost& Host() { return host_; }

 private:
  // Calls the prelude's entry `name` with the arguments `push` pushes; leaves its result on the stack.
  void CallEntry(duk_context* ctx, const char* name, int argumentCount);

  dom::Document& document_;
  ScriptHost& host_;
  ScriptHeap heap_;
};

// The page script that a native function of the engine runs for.
PageScript& PageScriptOf(duk_context* ctx);

// The prelude: a function of (natives, global) that sets the page's globals up and returns the
// entries the browser calls.
extern const char kPrelude[];
// Pushes the natives object the prelude is given.
void PushNatives(duk_context* ctx);

}  // namespace kv::html::script
