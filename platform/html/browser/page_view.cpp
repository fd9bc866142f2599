#include "page_view.h"

#include <algorithm>

#include "html/dom/forms.h"
#include "html/dom/markup.h"
#include "html/page/utf8_text.h"
#include "html/web_browser.h"
#include "layout_marks.h"

namespace kv::html {
namespace {

int TopOf(const std::vector<RECT>& boxes)
{
  int top = boxes.front().top;
  for (const RECT& box : boxes)
    top = std::min<int>(top, box.top);
  return top;
}

int BottomOf(const std::vector<RECT>& boxes)
{
  int bottom = boxes.front().bottom;
  for (const RECT& box : boxes)
    bottom = std::max<int>(bottom, box.bottom);
  return bottom;
}

}  // namespace

PageView::PageView(HWND view, ViewOwner& owner)
    : hwnd_(view), owner_(owner), scroller_(view), press_(scroller_.Dpi()), fields_(view, *this, scroller_.Dpi())
{
  scroller_.OnScrolled([this] { fields_.Scrolled(scroller_.Scroll()); });
}

PageView::~PageView()
{
  fields_.Clear();
  layout_.reset();
}

void PageView::Show(std::shared_ptr<BrowserPage> page)
{
  press_.Cancel();
  fields_.Clear();
  targets_.clear();
  focused_ = 0;
  scroller_.LayOut(nullptr);
  layout_.reset();
  page_ = std::move(page);
  LayOut();
}

void PageView::Update()
{
  if (page_ && page_->Document().Version() != laidOutVersion_)
    LayOut();
}

void PageView::Resize()
{
  // The document is the same: only the layout is made again, for the new size.
  if (layout_ && page_->Document().Version() == laidOutVersion_)
    Place();
  else
    LayOut();
}

void PageView::LayOut()
{
  if (!page_) {
    InvalidateRect(hwnd_, nullptr, FALSE);
    return;
  }
  dom::Document& document = page_->Document();
  PageSettings settings;
  settings.dpi = scroller_.Dpi();
  settings.images = [page = page_](std::string_view src) { return page->Image(src); };
  settings.styleSheets = [page = page_](std::string_view href, std::string_view base) { return page->Sheet(href, base); };
  settings.markAttribute = BrowserLayoutMarks().attribute;
  settings.placeholder = [this, page = page_](std::string_view mark) -> std::optional<SIZE> {
    const dom::Node* node = page->Document().Find(MarkedNode(mark));
    return node ? fields_.SizeOf(page->Document(), *node) : std::nullopt;
  };
  layout_ = std::make_unique<Page>(dom::LayoutMarkup(document, BrowserLayoutMarks()), std::move(settings));
  laidOutVersion_ = document.Version();
  Place();
}

void PageView::Place()
{
  dom::Document& document = page_->Document();
  scroller_.LayOut(layout_.get());

  targets_.clear();
  std::vector<LaidOutControl> controls;
  for (const MarkedElement& marked : layout_->Marked()) {
    const dom::Node* node = document.Find(MarkedNode(marked.mark));
    if (!node || marked.boxes.empty())
      continue;
    TargetKind kind = TargetKind::Anchor;
    if (BrowserLayoutMarks().role(*node) == dom::LayoutRole::Fill) {
      kind = TargetKind::Control;
      controls.push_back({node->id, marked.boxes.front()});
    } else if (node->Is("a") && node->HasAttribute("href")) {
      kind = TargetKind::Link;
    } else if (node->HasAttribute("onclick")) {
      kind = TargetKind::Handler;
    }
    targets_.push_back({node->id, kind, marked.boxes});
  }
  fields_.Place(document, controls, scroller_.Scroll());
  if (focused_ && !TargetOf(focused_))
    focused_ = 0;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void PageView::Paint(HDC dc, const RECT& area)
{
  scroller_.Paint(dc, area);
  const Target* focused = TargetOf(focused_);
  if (!focused || focused->kind == TargetKind::Control || GetFocus() != hwnd_)
    return;
  for (RECT box : focused->boxes) {
    OffsetRect(&box, 0, -scroller_.Scroll());
    InflateRect(&box, 1, 1);
    DrawFocusRect(dc, &box);
  }
}

bool PageView::ScrollToFragment(const std::u16string& fragment)
{
  if (!page_)
    return false;
  const std::string name = Narrow(fragment);
  dom::Document& document = page_->Document();
  const dom::Node* node = document.ElementById(name);
  if (!node)
    node = document.FindElement([&](const dom::Node& n) { return n.name == "a" && n.AttributeOr("name") == name; });
  const Target* target = node ? TargetOf(node->id) : nullptr;
  if (!target)
    return false;
  scroller_.ScrollTo(TopOf(target->boxes));
  return true;
}

const PageView::Target* PageView::TargetOf(uint32_t node) const
{
  if (!node)
    return nullptr;
  auto found = std::find_if(targets_.begin(), targets_.end(), [&](const Target& t) { return t.node == node; });
  return found == targets_.end() ? nullptr : &*found;
}

int PageView::TargetAt(POINT client) const
{
  const POINT at{client.x, client.y + scroller_.Scroll()};
  int found = -1;
  for (size_t i = 0; i < targets_.size(); ++i) {
    if (targets_[i].kind == TargetKind::Control)
      continue;
    for (const RECT& box : targets_[i].boxes)
      if (PtInRect(&box, at))
        found = static_cast<int>(i);  // the last in document order is the innermost
  }
  return found;
}

bool PageView::Focusable(const Target& target) const
{
  if (target.kind == TargetKind::Control) {
    HWND field = fields_.WindowOf(target.node);
    return field && IsWindowEnabled(field);
  }
  return target.kind != TargetKind::Anchor;
}

bool PageView::InView(const Target& target) const
{
  const int scroll = scroller_.Scroll();
  return BottomOf(target.boxes) > scroll && TopOf(target.boxes) < scroll + scroller_.ViewHeight();
}

void PageView::ScrollIntoView(const Target& target)
{
  const int top = TopOf(target.boxes), bottom = BottomOf(target.boxes);
  const int scroll = scroller_.Scroll(), height = scroller_.ViewHeight();
  if (bottom > scroll + height)
    scroller_.ScrollTo(std::min(top, bottom - height));
  else if (top < scroll)
    scroller_.ScrollTo(top);
}

void PageView::MoveFocus(bool forward, bool inViewOnly)
{
  std::vector<const Target*> order;
  for (const Target& target : targets_)
    if (Focusable(target))
      order.push_back(&target);
  const int count = static_cast<int>(order.size());
  int current = -1;
  for (int i = 0; i < count; ++i)
    if (order[static_cast<size_t>(i)]->node == focused_)
      current = i;
  const int step = forward ? 1 : -1;
  const int start = current >= 0 ? current + step : (forward ? 0 : count - 1);
  for (int i = start; i >= 0 && i < count; i += step) {
    const Target& target = *order[static_cast<size_t>(i)];
    if (inViewOnly && !InView(target))
      continue;
    Focus(target.node);
    return;
  }
  if (inViewOnly)
    scroller_.ScrollTo(scroller_.Scroll() + step * scroller_.LineStep());
  else if (count > 0)
    Focus(order[forward ? 0 : static_cast<size_t>(count - 1)]->node);  // Tab goes round
}

void PageView::Focus(uint32_t node)
{
  const Target* target = TargetOf(node);
  if (!target)
    return;
  ScrollIntoView(*target);
  focused_ = node;
  if (HWND field = fields_.WindowOf(node)) {
    SetFocus(field);  // the field's focus tells the page
    return;
  }
  if (GetFocus() != hwnd_)
    SetFocus(hwnd_);  // the view's focus tells the page
  else
    FocusChanged();
}

void PageView::FocusChanged()
{
  PostMessageW(hwnd_, BROWSER_FOCUS_CHANGED, 0, 0);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

HWND PageView::FocusWindow() const
{
  HWND field = fields_.WindowOf(focused_);
  return field ? field : hwnd_;
}

void PageView::TakeFocus()
{
  SetFocus(FocusWindow());
}

void PageView::PointerDown(POINT at)
{
  if (GetFocus() != hwnd_)
    SetFocus(hwnd_);
  if (!IsWindow(hwnd_))
    return;
  SetCapture(hwnd_);
  press_.Down(at, scroller_.Scroll(), TargetAt(at));
}

void PageView::PointerMove(POINT at)
{
  if (std::optional<int> scroll = press_.Move(at))
    scroller_.ScrollTo(*scroll);
}

void PageView::PointerUp(POINT at)
{
  const int tapped = press_.Up(TargetAt(at));  // before the capture goes, which cancels a press
  if (GetCapture() == hwnd_)
    ReleaseCapture();
  if (tapped < 0)
    return;
  const Target target = targets_[static_cast<size_t>(tapped)];
  if (Focusable(target) && target.node != focused_)
    Focus(target.node);
  owner_.Activate(target.node);
}

PageView::KeyAction PageView::ActionFor(HWND window, WPARAM key) const
{
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  if (key == VK_TAB)
    return window == hwnd_ || fields_.KindOf(window) ? (shift ? KeyAction::Previous : KeyAction::Next) : KeyAction::None;
  if (window == hwnd_) {
    switch (key) {
    case VK_UP: return KeyAction::PreviousInView;
    case VK_DOWN: return KeyAction::NextInView;
    case VK_PRIOR: return KeyAction::PageUp;
    case VK_NEXT: return KeyAction::PageDown;
    case VK_RETURN: {
      const Target* focused = TargetOf(focused_);
      return focused && focused->kind != TargetKind::Control ? KeyAction::Activate : KeyAction::None;
    }
    default: return KeyAction::None;
    }
  }
  const std::optional<FieldKind> kind = fields_.KindOf(window);
  if (!kind || *kind == FieldKind::TextArea)
    return KeyAction::None;
  const bool dropped = *kind == FieldKind::List && SendMessageW(window, CB_GETDROPPEDSTATE, 0, 0);
  switch (key) {
  case VK_UP: return dropped ? KeyAction::None : KeyAction::PreviousInView;
  case VK_DOWN: return dropped ? KeyAction::None : KeyAction::NextInView;
  case VK_RETURN:
    if (*kind == FieldKind::Text || *kind == FieldKind::Password)
      return KeyAction::Submit;
    if (*kind == FieldKind::List)
      return dropped ? KeyAction::None : KeyAction::DropDown;
    return KeyAction::Activate;
  default: return KeyAction::None;
  }
}

void PageView::Perform(KeyAction action, uint32_t node)
{
  switch (action) {
  case KeyAction::None: break;
  case KeyAction::Previous: MoveFocus(false, false); break;
  case KeyAction::Next: MoveFocus(true, false); break;
  case KeyAction::PreviousInView: MoveFocus(false, true); break;
  case KeyAction::NextInView: MoveFocus(true, true); break;
  case KeyAction::PageUp: scroller_.ScrollBy(SB_PAGEUP); break;
  case KeyAction::PageDown: scroller_.ScrollBy(SB_PAGEDOWN); break;
  case KeyAction::Activate: owner_.Activate(node); break;
  case KeyAction::Submit: owner_.SubmitFrom(node); break;
  case KeyAction::DropDown:
    if (HWND field = fields_.WindowOf(node))
      SendMessageW(field, CB_SHOWDROPDOWN, TRUE, 0);
    break;
  }
}

bool PageView::ViewKey(WPARAM key)
{
  const KeyAction action = ActionFor(hwnd_, key);
  Perform(action, focused_);
  return action != KeyAction::None;
}

bool PageView::TakesKey(const MSG& message) const
{
  return message.message == WM_KEYDOWN && ActionFor(message.hwnd, message.wParam) != KeyAction::None;
}

bool PageView::FieldKey(HWND field, WPARAM key)
{
  const KeyAction action = ActionFor(field, key);
  Perform(action, fields_.NodeOf(field));
  return action != KeyAction::None;
}

void PageView::FieldFocused(HWND field)
{
  focused_ = fields_.NodeOf(field);
  if (const Target* target = TargetOf(focused_))
    ScrollIntoView(*target);
  FocusChanged();
}

void PageView::FieldCommand(HWND field, WORD code)
{
  if (!page_)
    return;
  const std::optional<FieldKind> kind = fields_.KindOf(field);
  if (!kind)
    return;
  if (code == EN_CHANGE || code == CBN_SELCHANGE)
    fields_.TakeInput(page_->Document(), field);
  else if (code == BN_CLICKED && (*kind == FieldKind::Button || *kind == FieldKind::Check || *kind == FieldKind::Radio))
    owner_.Activate(fields_.NodeOf(field));
}

}  // namespace kv::html
