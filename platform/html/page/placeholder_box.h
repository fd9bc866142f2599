// An element laid out as an empty box that the page's caller fills with something of its own:
// it has a size of its own, as an image has, which the page's width and height override.
#pragma once

#include <litehtml/litehtml.h>

#include "base/types.h"

namespace kv::html {

class PlaceholderBox final : public litehtml::html_tag {
 public:
  PlaceholderBox(const std::shared_ptr<litehtml::document>& doc, SIZE size) : html_tag(doc), size_(size) {}

  bool is_replaced() const override { return true; }
  int render(int x, int y, int max_width, bool second_pass = false) override;
  void get_content_size(litehtml::size& sz, int max_width) override;
  int get_base_line() override { return 0; }

 private:
  // The content length along one axis: the style's length (a percentage of `parent`, when it is
  // known) or the box's own, within the style's minimum and maximum.
  int Length(const litehtml::css_length& length, const litehtml::css_length& minimum,
             const litehtml::css_length& maximum, int parent, int own, int outlines) const;

  SIZE size_;
};

}  // namespace kv::html
