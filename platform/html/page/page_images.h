// The images of a page: decoded once per source into bitmaps with premultiplied alpha, from
// data: URLs or from the caller's image source, and drawn blended over the page.
#pragma once

#include <map>
#include <string>

#include "internal/html/page.h"

namespace kv::html {

struct PageImage {
  HBITMAP bitmap = nullptr;  // 32-bit, premultiplied alpha
  int width = 0;
  int height = 0;
};

class PageImages {
 public:
  explicit PageImages(ImageSource source) : source_(std::move(source)) {}
  ~PageImages();
  PageImages(const PageImages&) = delete;
  PageImages& operator=(const PageImages&) = delete;

  // The image of `src`, decoded on first use; null when there is none or it does not decode.
  const PageImage* Get(const std::string& src);

 private:
  ImageSource source_;
  std::map<std::string, PageImage> images_;  // a failed source keeps an empty entry
};

// The bytes of a data: URL ("data:[type][;base64],payload"); nothing when `url` is no data: URL.
std::optional<std::string> DataUrlBytes(std::string_view url);

// Draws the image stretched into the rectangle, blended by its alpha.
void DrawImage(HDC dc, const PageImage& image, const RECT& rect);

}  // namespace kv::html
