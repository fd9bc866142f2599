#include "internal/html/page.h"

#include <litehtml/litehtml.h>

#include <algorithm>

#include "gdi/gdi.h"
#include "empty_lines.h"
#include "gdi_container.h"
#include "master_style.h"
#include "nesting_limit.h"
#include "utf8_text.h"

namespace kv::html {
namespace {

// The default style sheet, parsed once for every page.
litehtml::context& SharedContext()
{
  static litehtml::context* context = [] {
    auto* made = new litehtml::context();
    made->load_master_stylesheet(kMasterStyle);
    return made;
  }();
  return *context;
}

// The boxes of what an element shows (its visible leaves), in document order.
void CollectLeafBoxes(const litehtml::element::ptr& element, std::vector<RECT>& boxes)
{
  if (!element->is_visible())
    return;
  const size_t count = element->get_children_count();
  if (count == 0) {
    const litehtml::position p = element->get_placement();
    if (p.width > 0 && p.height > 0)
      boxes.push_back(RECT{p.x, p.y, p.x + p.width, p.y + p.height});
    return;
  }
  for (size_t i = 0; i < count; ++i)
    CollectLeafBoxes(element->get_child(static_cast<int>(i)), boxes);
}

// Leaf boxes joined into one box for each line they run along.
std::vector<RECT> LineBoxes(const std::vector<RECT>& leaves)
{
  std::vector<RECT> lines;
  for (const RECT& box : leaves) {
    if (!lines.empty()) {
      RECT& last = lines.back();
      if (box.top < last.bottom && box.bottom > last.top && box.left >= last.left) {
        UnionRect(&last, &last, &box);
        continue;
      }
    }
    lines.push_back(box);
  }
  return lines;
}

// The border box of an element laid out as a box of its own.
RECT BorderBox(const litehtml::element::ptr& element)
{
  const litehtml::position p = element->get_placement();
  const litehtml::margins padding = element->get_paddings();
  const litehtml::margins border = element->get_borders();
  return RECT{p.x - padding.left - border.left, p.y - padding.top - border.top,
              p.x + p.width + padding.right + border.right, p.y + p.height + padding.bottom + border.bottom};
}

void CollectMarked(const litehtml::element::ptr& element, const std::string& attribute,
                   std::vector<MarkedElement>& marked)
{
  if (!element->is_visible())
    return;
  if (const char* mark = element->get_attr(attribute.c_str())) {
    MarkedElement found{mark, {}};
    if (element->get_display() == litehtml::display_inline && !element->is_replaced()) {
      std::vector<RECT> leaves;
      CollectLeafBoxes(element, leaves);
      found.boxes = LineBoxes(leaves);
    } else {
      found.boxes.push_back(BorderBox(element));
    }
    marked.push_back(std::move(found));
  }
  const size_t count = element->get_children_count();
  for (size_t i = 0; i < count; ++i)
    CollectMarked(element->get_child(static_cast<int>(i)), attribute, marked);
}

void CollectLinks(const litehtml::element::ptr& element, std::vector<PageLink>& links)
{
  if (const char* tag = element->get_tagName(); tag && std::string_view(tag) == "a") {
    if (const char* href = element->get_attr("href")) {
      std::vector<RECT> leaves;
      CollectLeafBoxes(element, leaves);
      if (!leaves.empty())
        links.push_back({Wide(href), LineBoxes(leaves)});
      return;
    }
  }
  const size_t count = element->get_children_count();
  for (size_t i = 0; i < count; ++i)
    CollectLinks(element->get_child(static_cast<int>(i)), links);
}

}  // namespace

struct Page::State {
  State(std::string_view markup, const PageSettings& settings)
      : html(WithNestingLimited(markup)), container(settings)
  {
  }

  std::string html;
  GdiContainer container;           // outlives the document, which frees its fonts through it
  litehtml::document::ptr document;
  int parsedForWidth = 0;           // the view width the text was cut into pieces for
  int width = 0;
  int height = 0;
  std::vector<PageLink> links;
  std::vector<MarkedElement> marked;
};

Page::Page(std::string_view html, PageSettings settings) : state_(std::make_unique<State>(html, settings)) {}

Page::~Page() = default;

void Page::LayOut(int viewWidth, int viewHeight)
{
  State& s = *state_;
  viewWidth = std::max(viewWidth, 1);
  s.container.SetView(viewWidth, std::max(viewHeight, 0));
  // The text is cut into pieces when the page is parsed, with words too wide for a line cut
  // anywhere; a narrower view needs them cut again.
  if (!s.document || viewWidth < s.parsedForWidth) {
    s.document.reset();
    s.container.StartDocument();
    s.document = litehtml::document::createFromUTF8(s.html.c_str(), &s.container, &SharedContext());
    OpenEmptyLines(s.document);
    s.parsedForWidth = viewWidth;
  } else {
    s.document->media_changed();
  }
  s.document->render(viewWidth);
  s.width = std::max(viewWidth, s.document->width());
  s.height = s.document->height();
  s.links.clear();
  s.marked.clear();
  if (litehtml::element::ptr root = s.document->root()) {
    CollectLinks(root, s.links);
    if (!s.container.MarkAttribute().empty())
      CollectMarked(root, s.container.MarkAttribute(), s.marked);
  }
}

int Page::Width() const
{
  return state_->width;
}

int Page::Height() const
{
  return state_->height;
}

void Page::Paint(HDC dc, POINT origin, const RECT& clip)
{
  State& s = *state_;
  if (!s.document)
    return;
  s.container.BeginPaint(dc);
  const litehtml::position area(clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top);
  s.document->draw(reinterpret_cast<litehtml::uint_ptr>(dc), origin.x, origin.y, &area);
  s.container.EndPaint();
}

const std::vector<PageLink>& Page::Links() const
{
  return state_->links;
}

int Page::LinkAt(POINT point) const
{
  const auto& links = state_->links;
  for (size_t i = 0; i < links.size(); ++i)
    for (const RECT& box : links[i].boxes)
      if (PtInRect(&box, point))
        return static_cast<int>(i);
  return -1;
}

const std::vector<MarkedElement>& Page::Marked() const
{
  return state_->marked;
}

const std::u16string& Page::Title() const
{
  return state_->container.Title();
}

}  // namespace kv::html
