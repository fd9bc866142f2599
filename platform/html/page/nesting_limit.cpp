// The estimate follows the tree builder of the HTML standard closely enough never to fall short
// of the depth it builds (up to the bodies and rows it adds to tables): it keeps a stack of the
// open elements, closes them only where the parser certainly does, and counts the formatting
// elements that the parser closes early and opens again before later content.
#include "nesting_limit.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <initializer_list>
#include <unordered_map>
#include <vector>

namespace kv::html {
namespace {

// What the tree builder does with an element of a name.
enum Trait : uint32_t {
  kVoid = 1 << 0,         // never has content
  kText = 1 << 1,         // its content is text up to its own end tag
  kFormatting = 1 << 2,   // closed early, it is opened again before later content
  kMarker = 1 << 3,       // formatting elements start afresh inside it
  kTablePart = 1 << 4,
  kSpecial = 1 << 5,      // the end tag of an ordinary element never closes one of these
  kClosesP = 1 << 6,      // its start tag closes an open paragraph
  kScope = 1 << 7,        // ends the scope in which end tags look for their element
  kListScope = 1 << 8,    // ends it for list items too
  kButtonScope = 1 << 9,  // ends it for paragraphs too
  kTableScope = 1 << 10,  // ends it for the parts of a table
  kForeign = 1 << 11,     // SVG or MathML: names of elements of text hold markup there
  kItemStop = 1 << 12,    // special, and not address, div or p: a new list item looks no further
};

struct Known {
  std::string_view name;
  uint32_t traits;
};

constexpr uint32_t kBlock = kSpecial | kItemStop;
constexpr uint32_t kBlockClosingP = kBlock | kClosesP;

// Element names the tree builder treats specially; any other name is an ordinary element.
constexpr Known kKnown[] = {
    {"html", kSpecial | kItemStop | kScope | kTableScope},
    {"head", kBlock},
    {"body", kBlock},
    {"address", kSpecial | kClosesP},
    {"div", kSpecial | kClosesP},
    {"p", kSpecial | kClosesP},
    {"article", kBlockClosingP},
    {"aside", kBlockClosingP},
    {"blockquote", kBlockClosingP},
    {"center", kBlockClosingP},
    {"details", kBlockClosingP},
    {"dialog", kClosesP},
    {"dir", kBlockClosingP},
    {"dl", kBlockClosingP},
    {"dd", kBlockClosingP},
    {"dt", kBlockClosingP},
    {"fieldset", kBlockClosingP},
    {"figcaption", kBlockClosingP},
    {"figure", kBlockClosingP},
    {"footer", kBlockClosingP},
    {"form", kBlockClosingP},
    {"h1", kBlockClosingP},
    {"h2", kBlockClosingP},
    {"h3", kBlockClosingP},
    {"h4", kBlockClosingP},
    {"h5", kBlockClosingP},
    {"h6", kBlockClosingP},
    {"header", kBlockClosingP},
    {"hgroup", kBlockClosingP},
    {"li", kBlockClosingP},
    {"listing", kBlockClosingP},
    {"main", kBlockClosingP},
    {"menu", kBlockClosingP},
    {"nav", kBlockClosingP},
    {"ol", kBlockClosingP | kListScope},
    {"ul", kBlockClosingP | kListScope},
    {"pre", kBlockClosingP},
    {"section", kBlockClosingP},
    {"summary", kBlockClosingP},
    {"plaintext", kBlockClosingP | kText},
    {"xmp", kBlockClosingP | kText},
    {"button", kBlock | kButtonScope},
    {"frameset", kBlock},
    {"noscript", kBlock},
    {"select", kBlock},
    {"applet", kBlock | kMarker | kScope},
    {"marquee", kBlock | kMarker | kScope},
    {"object", kBlock | kMarker | kScope},
    {"template", kBlock | kMarker | kScope | kTableScope},
    {"table", kBlock | kTablePart | kScope | kTableScope},
    {"caption", kBlock | kTablePart | kMarker | kScope},
    {"td", kBlock | kTablePart | kMarker | kScope},
    {"th", kBlock | kTablePart | kMarker | kScope},
    {"tr", kBlock | kTablePart},
    {"tbody", kBlock | kTablePart},
    {"thead", kBlock | kTablePart},
    {"tfoot", kBlock | kTablePart},
    {"colgroup", kBlock | kTablePart},
    {"col", kBlock | kTablePart | kVoid},
    {"area", kBlock | kVoid},
    {"base", kBlock | kVoid},
    {"basefont", kBlock | kVoid},
    {"bgsound", kBlock | kVoid},
    {"br", kBlock | kVoid},
    {"embed", kBlock | kVoid},
    {"frame", kBlock | kVoid},
    {"hr", kBlock | kVoid},
    {"img", kBlock | kVoid},
    {"image", kVoid},
    {"input", kBlock | kVoid},
    {"keygen", kBlock | kVoid},
    {"link", kBlock | kVoid},
    {"meta", kBlock | kVoid},
    {"param", kBlock | kVoid},
    {"source", kBlock | kVoid},
    {"track", kBlock | kVoid},
    {"wbr", kBlock | kVoid},
    {"script", kBlock | kText},
    {"style", kBlock | kText},
    {"textarea", kBlock | kText},
    {"title", kBlock | kText},
    {"iframe", kBlock | kText},
    {"noembed", kBlock | kText},
    {"noframes", kBlock | kText},
    {"svg", kBlock | kScope | kForeign},
    {"math", kBlock | kScope | kForeign},
    {"a", kFormatting},
    {"b", kFormatting},
    {"big", kFormatting},
    {"code", kFormatting},
    {"em", kFormatting},
    {"font", kFormatting},
    {"i", kFormatting},
    {"nobr", kFormatting},
    {"s", kFormatting},
    {"small", kFormatting},
    {"strike", kFormatting},
    {"strong", kFormatting},
    {"tt", kFormatting},
    {"u", kFormatting},
    {"option", 0},
    {"optgroup", 0},
};

// Names as small numbers with their traits: the known ones first, others as they come.
class Names {
 public:
  Names()
  {
    for (const Known& known : kKnown)
      Add(std::string(known.name), known.traits);
  }
  uint32_t Id(const std::string& name)
  {
    auto found = ids_.find(name);
    return found != ids_.end() ? found->second : Add(name, 0);
  }
  bool Has(uint32_t id, uint32_t trait) const { return (traits_[id] & trait) != 0; }

 private:
  uint32_t Add(const std::string& name, uint32_t traits)
  {
    const auto id = static_cast<uint32_t>(traits_.size());
    ids_.emplace(name, id);
    traits_.push_back(traits);
    return id;
  }
  std::unordered_map<std::string, uint32_t> ids_;
  std::vector<uint32_t> traits_;
};

// The ids of the names the rules below name.
struct Ids {
  explicit Ids(Names& names)
      : html(names.Id("html")), head(names.Id("head")), body(names.Id("body")), p(names.Id("p")),
        li(names.Id("li")), dd(names.Id("dd")), dt(names.Id("dt")), option(names.Id("option")),
        optgroup(names.Id("optgroup")), table(names.Id("table")), caption(names.Id("caption")),
        colgroup(names.Id("colgroup")), tbody(names.Id("tbody")), thead(names.Id("thead")),
        tfoot(names.Id("tfoot")), tr(names.Id("tr")), td(names.Id("td")), th(names.Id("th"))
  {
  }
  uint32_t html, head, body, p, li, dd, dt, option, optgroup, table, caption, colgroup, tbody, thead, tfoot, tr, td, th;
};

// The stack of open elements as the estimate keeps it, with the formatting elements waiting to
// be opened again.
class Estimate {
 public:
  Estimate(const Names& names, uint32_t table) : names_(&names), table_(table) {}

  size_t Depth() const { return open_.size() + waiting_.size() + 2; }  // html and body
  int Tables() const { return tables_; }
  bool InForeignContent() const { return foreign_ > 0; }
  bool TopIs(uint32_t id) const { return !open_.empty() && open_.back().id == id; }

  // `key` tells formatting elements apart by name and attributes.
  void Push(uint32_t id, uint32_t key)
  {
    tables_ += id == table_;
    foreign_ += names_->Has(id, kForeign);
    open_.push_back({id, key, waiting_.size()});
  }

  // The open element of one of `ids` that a tag would close, looking down the stack until an
  // element with the trait `stop`; -1 when there is none.
  int Find(std::initializer_list<uint32_t> ids, uint32_t stop) const
  {
    for (int i = static_cast<int>(open_.size()) - 1; i >= 0; --i) {
      const uint32_t at = open_[static_cast<size_t>(i)].id;
      if (std::find(ids.begin(), ids.end(), at) != ids.end())
        return i;
      if (names_->Has(at, stop))
        return -1;
    }
    return -1;
  }

  bool InTableContext() const
  {
    for (auto it = open_.rbegin(); it != open_.rend(); ++it) {
      if (names_->Has(it->id, kMarker))
        return false;
      if (it->id == table_)
        return true;
    }
    return false;
  }

  // Closes the element at `index` and all opened after it. Formatting elements among the
  // latter are opened again by the parser before later content, unless a marker closes too.
  void CloseFrom(int index)
  {
    if (index < 0)
      return;
    while (static_cast<int>(open_.size()) > index) {
      const Open closed = open_.back();
      open_.pop_back();
      tables_ -= closed.id == table_;
      foreign_ -= names_->Has(closed.id, kForeign);
      if (names_->Has(closed.id, kMarker))
        waiting_.resize(std::min(waiting_.size(), closed.waitingAtOpen));
      else if (names_->Has(closed.id, kFormatting) && static_cast<int>(open_.size()) > index)
        Wait(closed);
    }
  }

  // The end tag of a formatting element that is not the current one: the parser no longer
  // opens it again. (One still open it moves about, which the estimate leaves as it is.)
  void StopWaiting(uint32_t id)
  {
    for (auto it = waiting_.rbegin(); it != waiting_.rend(); ++it)
      if (it->id == id) {
        waiting_.erase(std::next(it).base());
        return;
      }
  }

 private:
  struct Open {
    uint32_t id;
    uint32_t key;
    size_t waitingAtOpen;  // for markers: how many waited to be opened again
  };

  // The parser keeps no more than three identical formatting elements to open again.
  void Wait(const Open& closed)
  {
    auto same = [&closed](const Open& w) { return w.key == closed.key; };
    if (std::count_if(waiting_.begin(), waiting_.end(), same) >= 3)
      waiting_.erase(std::find_if(waiting_.begin(), waiting_.end(), same));
    waiting_.push_back(closed);
  }

  const Names* names_;
  uint32_t table_;
  std::vector<Open> open_;
  std::vector<Open> waiting_;
  int tables_ = 0;
  int foreign_ = 0;
};

struct Tag {
  bool end = false;
  std::string name;             // lower case
  std::string_view attributes;  // as written
  size_t length = 0;            // of the whole tag; 0 when the text ends inside it
};

bool IsSpace(char c)
{
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// Reads the tag at html[at] ('<' and a letter, or "</" and a letter) as the tokenizer does:
// the name up to a space, '/' or '>', then attributes with quoted or bare values.
Tag ReadTag(std::string_view html, size_t at)
{
  Tag tag;
  size_t i = at + 1;
  if (html[i] == '/') {
    tag.end = true;
    ++i;
  }
  while (i < html.size() && !IsSpace(html[i]) && html[i] != '/' && html[i] != '>')
    tag.name += static_cast<char>(std::tolower(static_cast<unsigned char>(html[i++])));
  const size_t attributesStart = i;
  while (i < html.size()) {
    if (html[i] == '>') {
      tag.attributes = html.substr(attributesStart, i - attributesStart);
      tag.length = i + 1 - at;
      return tag;
    }
    if (IsSpace(html[i]) || html[i] == '/') {
      ++i;
      continue;
    }
    // An attribute: its name, then perhaps '=' and a value.
    ++i;
    while (i < html.size() && !IsSpace(html[i]) && html[i] != '/' && html[i] != '>' && html[i] != '=')
      ++i;
    size_t j = i;
    while (j < html.size() && IsSpace(html[j]))
      ++j;
    if (j >= html.size() || html[j] != '=')
      continue;
    i = j + 1;
    while (i < html.size() && IsSpace(html[i]))
      ++i;
    if (i < html.size() && (html[i] == '"' || html[i] == '\'')) {
      const size_t close = html.find(html[i], i + 1);
      i = close == std::string_view::npos ? html.size() : close + 1;
    } else {
      while (i < html.size() && !IsSpace(html[i]) && html[i] != '>')
        ++i;
    }
  }
  return tag;  // the text ends inside the tag, which the parser then drops
}

// Where the text of an element of text ends: at its end tag, or at the end.
size_t EndOfText(std::string_view html, size_t from, const std::string& name)
{
  if (name == "plaintext")
    return html.size();
  for (size_t i = html.find("</", from); i != std::string_view::npos; i = html.find("</", i + 2)) {
    if (html.size() - i < name.size() + 2)
      break;
    bool same = true;
    for (size_t k = 0; k < name.size() && same; ++k)
      same = std::tolower(static_cast<unsigned char>(html[i + 2 + k])) == name[k];
    const size_t after = i + 2 + name.size();
    if (same && (after == html.size() || IsSpace(html[after]) || html[after] == '/' || html[after] == '>'))
      return i;
  }
  return html.size();
}

// Comments, markup declarations and processing instructions: where they end, as the tokenizer
// finds it ("<!-->" and "<!--->" end at once; "--!>" ends a comment too).
size_t EndOfComment(std::string_view html, size_t at)
{
  if (html.substr(at, 4) == "<!--") {
    const size_t body = at + 4;
    if (html.substr(body, 1) == ">")
      return body + 1;
    if (html.substr(body, 2) == "->")
      return body + 2;
    const size_t plain = html.find("-->", body), bang = html.find("--!>", body);
    if (plain == std::string_view::npos && bang == std::string_view::npos)
      return html.size();
    return plain < bang ? plain + 3 : bang + 4;
  }
  const size_t end = html.find('>', at);
  return end == std::string_view::npos ? html.size() : end + 1;
}

// What becomes of a tag: kept as written, or left out with a stand-in (perhaps empty).
struct Outcome {
  bool kept = true;
  std::string_view standIn;
};

class Limiter {
 public:
  explicit Limiter(std::string_view html) : html_(html), ids_(names_), estimate_(names_, ids_.table) {}

  std::string Run()
  {
    std::string out;
    size_t copied = 0;  // html_ up to here is in `out` or left out
    size_t i = 0;
    while ((i = html_.find('<', i)) != std::string_view::npos && i + 1 < html_.size()) {
      const char next = html_[i + 1];
      const bool startTag = std::isalpha(static_cast<unsigned char>(next)) != 0;
      const bool endTag = next == '/' && i + 2 < html_.size() && std::isalpha(static_cast<unsigned char>(html_[i + 2]));
      if (next == '!' || next == '?' || (next == '/' && !endTag)) {
        i = EndOfComment(html_, i);
        continue;
      }
      if (!startTag && !endTag) {
        ++i;
        continue;
      }
      const Tag tag = ReadTag(html_, i);
      if (tag.length == 0)
        break;
      const uint32_t id = names_.Id(tag.name);
      const Outcome outcome = tag.end ? EndTag(id) : StartTag(id, tag);
      if (!outcome.kept) {
        out.append(html_.substr(copied, i - copied));
        out.append(outcome.standIn);
        copied = i + tag.length;
        changed_ = true;
      }
      i += tag.length;
      // In SVG and MathML the same names hold markup.
      if (!tag.end && outcome.kept && names_.Has(id, kText) && !estimate_.InForeignContent())
        i = EndOfText(html_, i, tag.name);
    }
    if (!changed_)
      return std::string(html_);
    out.append(html_.substr(copied));
    return out;
  }

 private:
  Outcome StartTag(uint32_t id, const Tag& tag)
  {
    if (id == ids_.html || id == ids_.head || id == ids_.body || names_.Has(id, kVoid))
      return {};
    if (leftOutTables_ > 0 && names_.Has(id, kTablePart) && id != ids_.table)
      return LeaveOut(id);
    const bool holdsText = names_.Has(id, kText) && !estimate_.InForeignContent();
    // What the tag closes before it opens only makes the estimate shallower, so a copy is
    // tried only where the tag might not fit.
    if (Fits(estimate_, id)) {
      CloseBefore(estimate_, id);
    } else {
      Estimate after = estimate_;
      CloseBefore(after, id);
      if (!Fits(after, id)) {
        if (holdsText)
          return {};  // its text must not be read as markup, and it nests nothing
        leftOutTables_ += id == ids_.table;
        return LeaveOut(id);
      }
      estimate_ = std::move(after);
    }
    if (!holdsText)
      estimate_.Push(id, names_.Has(id, kFormatting) ? names_.Id(tag.name + ' ' + std::string(tag.attributes)) : id);
    return {};
  }

  bool Fits(const Estimate& estimate, uint32_t id) const
  {
    return static_cast<int>(estimate.Depth()) + 1 <= kMaxElementDepth &&
           (id != ids_.table || estimate.Tables() + 1 <= kMaxTableNesting);
  }

  // The elements the parser closes when the start tag of `id` comes.
  void CloseBefore(Estimate& estimate, uint32_t id) const
  {
    const Ids& n = ids_;
    if (id == n.li)
      estimate.CloseFrom(estimate.Find({n.li}, kItemStop));
    else if (id == n.dd || id == n.dt)
      estimate.CloseFrom(estimate.Find({n.dd, n.dt}, kItemStop));
    else if ((id == n.option || id == n.optgroup) && estimate.TopIs(n.option))
      estimate.CloseFrom(estimate.Find({n.option}, kScope));
    else if (id == n.td || id == n.th)
      estimate.CloseFrom(estimate.Find({n.td, n.th}, kTableScope));
    else if (id == n.tr)
      estimate.CloseFrom(estimate.Find({n.td, n.th, n.tr}, kTableScope));
    else if (id == n.tbody || id == n.thead || id == n.tfoot || id == n.caption || id == n.colgroup)
      estimate.CloseFrom(estimate.Find({n.td, n.th, n.tr, n.tbody, n.thead, n.tfoot, n.caption, n.colgroup}, kTableScope));
    else if (id == n.table && estimate.InTableContext())
      estimate.CloseFrom(estimate.Find({n.table}, kTableScope));
    if (names_.Has(id, kClosesP))
      estimate.CloseFrom(estimate.Find({n.p}, kScope | kButtonScope));
  }

  Outcome EndTag(uint32_t id)
  {
    if (leftOutTables_ > 0 && names_.Has(id, kTablePart)) {
      leftOutTables_ -= id == ids_.table;
      return Outcome{false, {}};
    }
    if (auto found = leftOut_.find(id); found != leftOut_.end() && found->second > 0) {
      --found->second;
      return Outcome{false, {}};
    }
    if (id == ids_.html || id == ids_.head || id == ids_.body)
      return {};
    if (names_.Has(id, kFormatting)) {
      if (estimate_.TopIs(id))
        estimate_.CloseFrom(estimate_.Find({id}, kScope));
      else
        estimate_.StopWaiting(id);
    } else if (names_.Has(id, kTablePart)) {
      estimate_.CloseFrom(estimate_.Find({id}, kTableScope));
    } else if (names_.Has(id, kSpecial)) {
      const uint32_t scope = id == ids_.li ? kScope | kListScope : id == ids_.p ? kScope | kButtonScope : kScope;
      estimate_.CloseFrom(estimate_.Find({id}, scope));
    } else {
      estimate_.CloseFrom(estimate_.Find({id}, kSpecial));
    }
    return {};
  }

  // A row left out becomes a line break and a cell a space, so their text stays apart.
  Outcome LeaveOut(uint32_t id)
  {
    if (!names_.Has(id, kTablePart))
      ++leftOut_[id];
    if (id == ids_.tr)
      return Outcome{false, "<br>"};
    if (id == ids_.td || id == ids_.th)
      return Outcome{false, " "};
    return Outcome{false, {}};
  }

  std::string_view html_;
  Names names_;
  Ids ids_;
  Estimate estimate_;
  bool changed_ = false;
  int leftOutTables_ = 0;                          // tables left out and not yet ended
  std::unordered_map<uint32_t, int> leftOut_;      // other elements left out and not yet ended
};

}  // namespace

std::string WithNestingLimited(std::string_view html)
{
  return Limiter(html).Run();
}

}  // namespace kv::html
