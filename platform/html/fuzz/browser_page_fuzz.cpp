// Any page with its scripts as the browser takes it: parsed into the document, its scripts and
// onload run (every script file it names holding the input too), its handlers clicked, its forms'
// data gathered, its timers fired and its functions called by name, then laid out with room for
// the form fields and with every sheet it links holding the input too, whose @imports are read. Never a crash, a leak, or a run
// that goes past its time: every script run is stopped at a short limit.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "html/browser/layout_marks.h"
#include "html/browser/sheet_imports.h"
#include "html/dom/forms.h"
#include "html/script/page_script.h"
#include "internal/html/page.h"
#include "testing/device_root.h"
#include "windows.h"

namespace {

using namespace kv::html;

// What the scripts ask of the browser: timers are kept to be fired, the rest is dropped.
class FuzzHost : public script::ScriptHost {
 public:
  void Navigate(const std::u16string&, bool) override {}
  void GoBack() override {}
  std::u16string Location() override { return u"https://pay.example.cn/puc/webMC.htm"; }
  void Alert(const std::u16string&) override {}
  void Submit(dom::Node&) override {}
  unsigned StartTimer(unsigned) override
  {
    timers.push_back(next);
    return next++;
  }
  void StopTimer(unsigned) override {}

  std::vector<unsigned> timers;
  unsigned next = 1;
};

// At most `limit` of the elements (by id, as handlers may take elements out) that match.
template <class Match>
std::vector<uint32_t> Some(dom::Document& document, Match match, size_t limit)
{
  std::vector<uint32_t> ids;
  for (dom::Node* node : document.Elements(document.Root(), match))
    if (ids.size() < limit)
      ids.push_back(node->id);
  return ids;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  static device::testing::ScopedDeviceRoot root;
  if (size > 64 * 1024)
    return 0;
  const std::string input(reinterpret_cast<const char*>(data), size);
  dom::Document document(input);
  FuzzHost host;
  script::PageScript page(document, host, script::ScriptLimits{std::chrono::milliseconds(40), 8u << 20});
  page.RunScripts([&input](std::string_view) { return std::optional<std::string>(input); });
  page.FireLoad();
  for (uint32_t id : Some(document, [](const dom::Node& n) { return n.HasAttribute("onclick"); }, 4))
    if (dom::Node* node = document.Find(id))
      page.Fire(*node, "click");
  for (uint32_t id : Some(document, [](const dom::Node& n) { return n.name == "form"; }, 2))
    if (dom::Node* form = document.Find(id)) {
      if (page.Fire(*form, "submit"))
        if (dom::Node* still = document.Find(id))
          dom::UrlEncodedForm(dom::FormData(document, *still, nullptr));
    }
  for (int round = 0; round < 3 && !host.timers.empty(); ++round) {
    std::vector<unsigned> due = std::move(host.timers);
    host.timers.clear();
    for (size_t i = 0; i < due.size() && i < 4; ++i)
      page.FireTimer(due[i]);
  }
  for (const char16_t* name : {u"clientMenu", u"clientError", u"beforeSubmit"})
    if (page.Defines(name))
      page.Call(name);

  SheetImports(input);
  PageSettings settings;
  settings.styleSheets = [&input](std::string_view href, std::string_view) {
    return std::optional<StyleSheet>(StyleSheet{input, "https://pay.example.cn/" + std::string(href)});
  };
  settings.markAttribute = BrowserLayoutMarks().attribute;
  settings.placeholder = [&document](std::string_view mark) -> std::optional<SIZE> {
    const dom::Node* node = document.Find(MarkedNode(mark));
    return node && !dom::ControlType(*node).empty() ? std::optional<SIZE>(SIZE{80, 20}) : std::nullopt;
  };
  Page layout(dom::LayoutMarkup(document, BrowserLayoutMarks()), settings);
  layout.LayOut(240, 320);
  for (const MarkedElement& marked : layout.Marked())
    if (!document.Find(MarkedNode(marked.mark)))
      __builtin_trap();
  return 0;
}
