#include "html_view.h"

#include <algorithm>

#include "html/page/plain_text.h"
#include "html/page/utf8_text.h"
#include "resource_pages.h"

namespace kv::html {
namespace {

struct Span {
  int top;
  int bottom;
};

Span SpanOf(const PageLink& link)
{
  Span span{link.boxes.front().top, link.boxes.front().bottom};
  for (const RECT& box : link.boxes)
    span.top = std::min<int>(span.top, box.top), span.bottom = std::max<int>(span.bottom, box.bottom);
  return span;
}

}  // namespace

HtmlView::HtmlView(HWND hwnd) : hwnd_(hwnd), scroller_(hwnd)
{
  // A focused link that has left the view is no longer the focus.
  scroller_.OnScrolled([this] {
    if (focused_ >= 0 && !LinkInView(focused_))
      focused_ = -1;
  });
}

HtmlView::~HtmlView()
{
  page_.reset();
  if (library_)
    FreeLibrary(library_);
}

void HtmlView::Append(std::u16string_view text, bool plain)
{
  if (plain)
    source_ += HtmlOfPlainText(text);
  else
    source_ += text;
}

void HtmlView::EndOfSource()
{
  ShowPage(std::make_unique<Page>(Narrow(source_), PageSettings{scroller_.Dpi(), ResourceImages(library_), {}, {}, {}}));
}

bool HtmlView::Navigate(std::u16string_view url)
{
  Clear();
  std::optional<ResourcePage> loaded = LoadResourcePage(url);
  if (!loaded)
    return false;
  library_ = loaded->library;
  source_ = std::move(loaded->html);
  EndOfSource();
  return true;
}

void HtmlView::Clear()
{
  focused_ = -1;
  source_.clear();
  scroller_.LayOut(nullptr);  // the scroll position goes back to the top
  page_.reset();
  if (library_)
    FreeLibrary(library_);
  library_ = nullptr;
  Redraw();
}

void HtmlView::ShowPage(std::unique_ptr<Page> page)
{
  page_ = std::move(page);
  LayOut();
  if (focused_ >= static_cast<int>(page_->Links().size()))
    focused_ = -1;
  Redraw();
}

void HtmlView::Resize()
{
  LayOut();
  Redraw();
}

void HtmlView::LayOut()
{
  scroller_.LayOut(page_.get());
}

void HtmlView::Paint(HDC dc, const RECT& area)
{
  scroller_.Paint(dc, area);
  if (!page_ || focused_ < 0 || GetFocus() != hwnd_)
    return;
  for (RECT box : page_->Links()[static_cast<size_t>(focused_)].boxes) {
    OffsetRect(&box, 0, -scroller_.Scroll());
    InflateRect(&box, 1, 1);
    DrawFocusRect(dc, &box);
  }
}

void HtmlView::ScrollBy(WORD code)
{
  scroller_.ScrollBy(code);
}

void HtmlView::ScrollTo(int y)
{
  scroller_.ScrollTo(y);
}

int HtmlView::LinkAt(POINT client) const
{
  return page_ ? page_->LinkAt(POINT{client.x, client.y + scroller_.Scroll()}) : -1;
}

void HtmlView::MoveFocus(bool forward)
{
  const int count = page_ ? static_cast<int>(page_->Links().size()) : 0;
  const int step = forward ? 1 : -1;
  const int start = focused_ >= 0 ? focused_ + step : (forward ? 0 : count - 1);
  for (int i = start; i >= 0 && i < count; i += step)
    if (LinkInView(i)) {
      FocusLink(i);
      ScrollIntoView(i);
      return;
    }
  ScrollTo(scroller_.Scroll() + step * scroller_.LineStep());
}

void HtmlView::FocusLink(int link)
{
  focused_ = link;
  Redraw();
}

std::u16string HtmlView::FocusedTarget() const
{
  return TargetOf(focused_);
}

std::u16string HtmlView::TargetOf(int link) const
{
  if (!page_ || link < 0 || link >= static_cast<int>(page_->Links().size()))
    return {};
  return page_->Links()[static_cast<size_t>(link)].target;
}

bool HtmlView::LinkInView(int link) const
{
  const Span span = SpanOf(page_->Links()[static_cast<size_t>(link)]);
  const int scroll = scroller_.Scroll();
  return span.bottom > scroll && span.top < scroll + scroller_.ViewHeight();
}

void HtmlView::ScrollIntoView(int link)
{
  const Span span = SpanOf(page_->Links()[static_cast<size_t>(link)]);
  const int scroll = scroller_.Scroll(), height = scroller_.ViewHeight();
  if (span.bottom > scroll + height)
    ScrollTo(std::min(span.top, span.bottom - height));
  else if (span.top < scroll)
    ScrollTo(span.top);
}

void HtmlView::Redraw()
{
  InvalidateRect(hwnd_, nullptr, FALSE);
}

}  // namespace kv::html
