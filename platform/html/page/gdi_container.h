// What the layout engine asks of its host, answered with the device's drawing: fonts and text on
// the text engine, fills, borders, list markers and images through a device context, the view's
// size and density. It loads nothing but the images of its image source and data: URLs, and the
// sheets of its sheet source.
#pragma once

#include <litehtml/litehtml.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "internal/gdi/text_font.h"
#include "page_images.h"

namespace kv::html {

class GdiContainer final : public litehtml::document_container {
 public:
  explicit GdiContainer(const PageSettings& settings);
  ~GdiContainer();
  GdiContainer(const GdiContainer&) = delete;
  GdiContainer& operator=(const GdiContainer&) = delete;

  // The view the page is laid out for: the client rectangle and media features tell it, and a
  // word wider than its lines may break anywhere.
  void SetView(int width, int height);
  // The device context the drawing calls draw into, from the start of a paint to its end.
  void BeginPaint(HDC dc);
  void EndPaint();
  const std::u16string& Title() const { return title_; }
  const std::string& MarkAttribute() const { return markAttribute_; }
  // A new document is made from the markup: its sheets may be taken again.
  void StartDocument() { sheetsTaken_.clear(); }

  litehtml::uint_ptr create_font(const litehtml::tchar_t* faceName, int size, int weight, litehtml::font_style italic,
                                 unsigned int decoration, litehtml::font_metrics* fm) override;
  void delete_font(litehtml::uint_ptr font) override;
  int text_width(const litehtml::tchar_t* text, litehtml::uint_ptr font) override;
  void draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr font,
                 litehtml::web_color color, const litehtml::position& pos) override;
  int pt_to_px(int pt) const override;
  int get_default_font_size() const override;
  const litehtml::tchar_t* get_default_font_name() const override;
  void draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) override;
  void load_image(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, bool redraw_on_ready) override;
  void get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, litehtml::size& sz) override;
  void draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) override;
  void draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders, const litehtml::position& draw_pos,
                    bool root) override;
  void set_caption(const litehtml::tchar_t* caption) override;
  void set_base_url(const litehtml::tchar_t* base_url) override;
  void link(const std::shared_ptr<litehtml::document>& doc, const litehtml::element::ptr& el) override;
  void on_anchor_click(const litehtml::tchar_t* url, const litehtml::element::ptr& el) override;
  void set_cursor(const litehtml::tchar_t* cursor) override;
  void transform_text(litehtml::tstring& text, litehtml::text_transform tt) override;
  void import_css(litehtml::tstring& text, const litehtml::tstring& url, litehtml::tstring& baseurl) override;
  void set_clip(const litehtml::position& pos, const litehtml::border_radiuses& radius, bool valid_x,
                bool valid_y) override;
  void del_clip() override;
  void get_client_rect(litehtml::position& client) const override;
  std::shared_ptr<litehtml::element> create_element(const litehtml::tchar_t* tag_name,
                                                    const litehtml::string_map& attributes,
                                                    const std::shared_ptr<litehtml::document>& doc) override;
  void get_media_features(litehtml::media_features& media) const override;
  void get_language(litehtml::tstring& language, litehtml::tstring& culture) const override;
  void split_text(const char* text, const std::function<void(const litehtml::tchar_t*)>& on_word,
                  const std::function<void(const litehtml::tchar_t*)>& on_space) override;

 private:
  struct FontEntry {
    std::shared_ptr<const kv::fonts::Font> font;
    HFONT handle = nullptr;
    unsigned decoration = 0;
    int size = 0;
  };

  bool TooWideForLine(std::u16string_view word) const;
  void FillBox(const RECT& rect, litehtml::web_color color);

  int dpi_;
  PageImages images_;
  std::vector<std::unique_ptr<FontEntry>> fonts_;
  std::shared_ptr<const kv::fonts::Font> defaultFont_;
  int viewWidth_ = 0;
  int viewHeight_ = 0;
  HDC dc_ = nullptr;
  HGDIOBJ paintFont_ = nullptr;  // the DC's font before the paint, put back after it
  std::vector<int> clips_;  // SaveDC levels of the clips set
  std::u16string title_;
  std::string markAttribute_;
  PlaceholderSize placeholder_;
  StyleSheetSource styleSheets_;
  std::set<std::string> sheetsTaken_;  // by URL, in the document being made
};

}  // namespace kv::html
