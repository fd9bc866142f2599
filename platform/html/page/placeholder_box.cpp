#include "placeholder_box.h"

#include <algorithm>
#include <optional>

namespace kv::html {

int PlaceholderBox::Length(const litehtml::css_length& length, const litehtml::css_length& minimum,
                           const litehtml::css_length& maximum, int parent, int own, int outlines) const
{
  auto resolved = [parent](const litehtml::css_length& l) {
    return l.is_predefined() || (l.units() == litehtml::css_units_percentage && parent <= 0)
               ? std::optional<int>()
               : std::optional<int>(l.calc_percent(parent));
  };
  int value = own;
  if (std::optional<int> given = resolved(length))
    value = m_box_sizing == litehtml::box_sizing_border_box ? *given - outlines : *given;
  if (std::optional<int> most = resolved(maximum))
    value = std::min(value, *most);
  if (std::optional<int> least = resolved(minimum))
    value = std::max(value, *least);
  return std::max(value, 0);
}

int PlaceholderBox::render(int x, int y, int max_width, bool)
{
  calc_outlines(max_width);
  m_pos.move_to(x, y);
  m_pos.width = Length(m_css_width, m_css_min_width, m_css_max_width, max_width, size_.cx,
                       m_padding.left + m_padding.right + m_borders.left + m_borders.right);
  m_pos.height = Length(m_css_height, m_css_min_height, m_css_max_height, 0, size_.cy,
                        m_padding.top + m_padding.bottom + m_borders.top + m_borders.bottom);
  calc_auto_margins(max_width);
  m_pos.x += content_margins_left();
  m_pos.y += content_margins_top();
  return m_pos.width + content_margins_left() + content_margins_right();
}

void PlaceholderBox::get_content_size(litehtml::size& sz, int)
{
  sz.width = size_.cx;
  sz.height = size_.cy;
}

}  // namespace kv::html
