// A laid-out HTML page drawn with the device's drawing calls: the document of the HTML viewer
// and of the browser control. It parses markup, lays it out for a width, paints any part of it
// into a device context and tells where its links and the caller's marked elements lie. It runs
// no script and fetches nothing: images come from data: URLs or from the caller's image source,
// linked style sheets from the caller's sheet source.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/types.h"

namespace kv::html {

// The bytes of an image that a page names (its src as written, never a data: URL); nothing
// when the caller has no such image.
using ImageSource = std::function<std::optional<std::string>(std::string_view src)>;

// A style sheet that a page links (<link rel="stylesheet"> or @import): its text and its
// absolute URL, which its own @imports are resolved against.
struct StyleSheet {
  std::string text;
  std::string url;
};
// The sheet of an href as written, named by the page (`base` empty) or by the sheet at `base`;
// nothing when the caller has no such sheet.
using StyleSheetSource = std::function<std::optional<StyleSheet>(std::string_view href, std::string_view base)>;

// The size of the box the caller fills itself for an element of a mark; nothing for an element
// laid out as the page says.
using PlaceholderSize = std::function<std::optional<SIZE>(std::string_view mark)>;

struct PageSettings {
  // The screen's density: the default font size and point sizes follow it (12 pixels at 96).
  int dpi = 96;
  ImageSource images;
  // Each sheet is taken once per layout of the document: a chain of @imports that comes back to
  // a sheet ends there.
  StyleSheetSource styleSheets;
  // The caller's marks: after each layout, Marked() tells where every element that carries this
  // attribute lies. An element whose mark `placeholder` gives a size for is laid out as an empty
  // box of that size, or of the width and height the page's style gives it, where the caller
  // shows something of its own (the browser's form fields); its content is not shown.
  std::string markAttribute;
  PlaceholderSize placeholder;
};

struct MarkedElement {
  std::string mark;         // the value of the marking attribute
  // Where it lies, in page coordinates: its border box, or for an inline element one box a line
  // around what it shows.
  std::vector<RECT> boxes;
};

struct PageLink {
  std::u16string target;    // the href as the page writes it (character references decoded)
  std::vector<RECT> boxes;  // where its content lies, one box a line, in page coordinates
};

class Page {
 public:
  // Parses UTF-8 markup. Every input gives a page: broken markup gives what the parser makes
  // of it, and nesting deeper than the layout can take is flattened.
  Page(std::string_view html, PageSettings settings);
  ~Page();
  Page(const Page&) = delete;
  Page& operator=(const Page&) = delete;

  // Lays the page out for a view of the size given; the links are found anew.
  void LayOut(int viewWidth, int viewHeight);
  // The laid-out size: at least as wide as the view; as high as the content.
  int Width() const;
  int Height() const;

  // Paints what lies within `clip` (DC coordinates) with the page's top-left corner at
  // `origin`. The caller fills the background first.
  void Paint(HDC dc, POINT origin, const RECT& clip);

  // The page's links in document order, and the one whose box holds a page point (-1: none).
  const std::vector<PageLink>& Links() const;
  int LinkAt(POINT point) const;

  // The laid-out elements that carry the marking attribute, in document order (those not shown,
  // display: none, are left out).
  const std::vector<MarkedElement>& Marked() const;

  // The text of the page's <title>.
  const std::u16string& Title() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace kv::html
