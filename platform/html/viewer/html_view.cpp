#include "html_view.h"

#include <algorithm>

#include "html/page/utf8_text.h"
#include "resource_pages.h"

namespace kv::html {
namespace {

// Plain text as HTML that shows it as it is: markup characters escaped, line breaks kept.
std::u16string HtmlOfPlainText(std::u16string_view text)
{
  std::u16string html;
  html.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    switch (text[i]) {
    case u'&': html += u"&amp;"; break;
    case u'<': html += u"&lt;"; break;
    case u'>': html += u"&gt;"; break;
    case u'\r':
      if (i + 1 < text.size() && text[i + 1] == u'\n')
        ++i;
      html += u"<br>";
      break;
    case u'\n': html += u"<br>"; break;
    default: html += text[i];
    }
  }
  return html;
}

int ScreenDpi()
{
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

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

HtmlView::HtmlView(HWND hwnd) : hwnd_(hwnd), dpi_(ScreenDpi()) {}

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
  ShowPage(std::make_unique<Page>(Narrow(source_), PageSettings{dpi_, ResourceImages(library_)}));
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
  source_.clear();
  page_.reset();
  if (library_)
    FreeLibrary(library_);
  library_ = nullptr;
  scroll_ = 0;
  focused_ = -1;
  LayOut();
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
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int width = client.right, height = client.bottom;
  const int barWidth = GetSystemMetrics(SM_CXVSCROLL);
  if (!page_) {
    barShown_ = false;
  } else {
    // The page takes the whole width unless it is taller than the view, when the scroll bar
    // takes its part. The last page's choice is tried first.
    bool bar = barShown_ && width > barWidth;
    page_->LayOut(bar ? width - barWidth : width, height);
    if (bar && page_->Height() <= height) {
      bar = false;
      page_->LayOut(width, height);
    } else if (!bar && page_->Height() > height && width > barWidth) {
      bar = true;
      page_->LayOut(width - barWidth, height);
    }
    barShown_ = bar;
  }
  scroll_ = std::clamp(scroll_, 0, std::max(0, (page_ ? page_->Height() : 0) - height));
  UpdateScrollBar();
}

void HtmlView::UpdateScrollBar()
{
  if (!barShown_) {
    if (bar_)
      ShowWindow(bar_, SW_HIDE);
    return;
  }
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int barWidth = GetSystemMetrics(SM_CXVSCROLL);
  if (!bar_)
    bar_ = CreateWindowExW(0, WC_SCROLLBARW, u"", WS_CHILD | SBS_VERT, 0, 0, 0, 0, hwnd_, nullptr, nullptr, nullptr);
  MoveWindow(bar_, client.right - barWidth, 0, barWidth, client.bottom, TRUE);
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, page_->Height() - 1,
                  static_cast<UINT>(client.bottom), scroll_, 0};
  SetScrollInfo(bar_, SB_CTL, &info, TRUE);
  ShowWindow(bar_, SW_SHOW);
}

void HtmlView::Paint(HDC dc, const RECT& area)
{
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (barShown_)
    client.right -= GetSystemMetrics(SM_CXVSCROLL);
  RECT fill{};
  if (!IntersectRect(&fill, &area, &client))
    return;
  FillRect(dc, &fill, GetSysColorBrush(COLOR_WINDOW));
  if (!page_)
    return;
  page_->Paint(dc, POINT{0, -scroll_}, fill);
  if (focused_ >= 0 && GetFocus() == hwnd_)
    for (RECT box : page_->Links()[static_cast<size_t>(focused_)].boxes) {
      OffsetRect(&box, 0, -scroll_);
      InflateRect(&box, 1, 1);
      DrawFocusRect(dc, &box);
    }
}

void HtmlView::ScrollBy(WORD code)
{
  const int page = std::max(LineStep(), ViewHeight() - LineStep());
  switch (code) {
  case SB_LINEUP: ScrollTo(scroll_ - LineStep()); break;
  case SB_LINEDOWN: ScrollTo(scroll_ + LineStep()); break;
  case SB_PAGEUP: ScrollTo(scroll_ - page); break;
  case SB_PAGEDOWN: ScrollTo(scroll_ + page); break;
  case SB_TOP: ScrollTo(0); break;
  case SB_BOTTOM: ScrollTo(page_ ? page_->Height() : 0); break;
  case SB_THUMBTRACK:
  case SB_THUMBPOSITION: {
    // The tracked position from the bar itself: the message carries only 16 bits of it.
    SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
    if (bar_ && GetScrollInfo(bar_, SB_CTL, &info))
      ScrollTo(info.nTrackPos);
    break;
  }
  default: break;
  }
}

void HtmlView::ScrollTo(int y)
{
  const int limit = std::max(0, (page_ ? page_->Height() : 0) - ViewHeight());
  y = std::clamp(y, 0, limit);
  if (y == scroll_)
    return;
  scroll_ = y;
  if (bar_ && barShown_) {
    SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, scroll_, 0};
    SetScrollInfo(bar_, SB_CTL, &info, TRUE);
  }
  // A focused link that has left the view is no longer the focus.
  if (focused_ >= 0 && !LinkInView(focused_))
    focused_ = -1;
  Redraw();
}

int HtmlView::LinkAt(POINT client) const
{
  return page_ ? page_->LinkAt(POINT{client.x, client.y + scroll_}) : -1;
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
  ScrollTo(scroll_ + step * LineStep());
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

int HtmlView::ViewHeight() const
{
  RECT client{};
  GetClientRect(hwnd_, &client);
  return client.bottom;
}

int HtmlView::LineStep() const
{
  // About one line of the page's default text.
  return std::max(1, 16 * dpi_ / 96);
}

bool HtmlView::LinkInView(int link) const
{
  const Span span = SpanOf(page_->Links()[static_cast<size_t>(link)]);
  return span.bottom > scroll_ && span.top < scroll_ + ViewHeight();
}

void HtmlView::ScrollIntoView(int link)
{
  const Span span = SpanOf(page_->Links()[static_cast<size_t>(link)]);
  if (span.bottom > scroll_ + ViewHeight())
    ScrollTo(std::min(span.top, span.bottom - ViewHeight()));
  else if (span.top < scroll_)
    ScrollTo(span.top);
}

void HtmlView::Redraw()
{
  InvalidateRect(hwnd_, nullptr, FALSE);
}

}  // namespace kv::html
