// skingen: draws skin images from a readable description and writes them as PNG files.
//
//   skingen <description> <output folder> [scale]
//
// The description is text, one command a line. Coordinates and sizes are
// in pixels of a 240-pixel-wide screen and are multiplied by the scale (2 for 480 wide).
//   image <file.png> <width> <height>     starts an image, filled with white
//   fill <colour>                         fills the whole image
//   rect <x> <y> <w> <h> <colour>         fills a rectangle
//   frame <x> <y> <w> <h> <colour>        draws a one-pixel (times the scale) frame
//   vgradient <x> <y> <w> <h> <top> <bottom>   a vertical gradient between two colours
//   edge <x> <y> <w> <h> <side> <colour>  a line one image pixel thick along a side (top, bottom,
//                                         left or right) of the box, at any scale
//   hairframe <x> <y> <w> <h> <colour>    the four edges of the box
//   arrow <x> <y> <w> <h> <direction> <colour>  a filled triangle pointing up, down, left or
//                                         right: its base is the box's side, its tip the
//                                         middle of the opposite side
//   disc <cx> <cy> <r> <colour>           a filled circle, its edge smoothed
//   stroke <x1> <y1> <x2> <y2> <width> <colour>  a line of the width with round ends, smoothed
// Colours are #RRGGBB; a line starting with "#" is a comment. A bad line stops the tool with its
// line number before any image is written.
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Colour {
  unsigned char r = 255, g = 255, b = 255;
};

struct Image {
  std::string file;
  int width = 0;
  int height = 0;
  std::vector<Colour> pixels;

  // A line one pixel thick along a side of the box.
  bool Edge(int x, int y, int w, int h, const std::string& side, Colour c)
  {
    if (side == "top")
      Fill(x, y, w, 1, c);
    else if (side == "bottom")
      Fill(x, y + h - 1, w, 1, c);
    else if (side == "left")
      Fill(x, y, 1, h, c);
    else if (side == "right")
      Fill(x + w - 1, y, 1, h, c);
    else
      return false;
    return true;
  }

  // A triangle filled row by row (or column by column), its base the box's side, so it stays
  // symmetric and crisp at every scale.
  bool Arrow(int x, int y, int w, int h, const std::string& direction, Colour c)
  {
    bool vertical = direction == "up" || direction == "down";
    if (!vertical && direction != "left" && direction != "right")
      return false;
    int length = vertical ? h : w;  // from the tip to the base
    int base = vertical ? w : h;
    for (int step = 0; step < length; ++step) {
      // The span grows from the tip (step 0) to the whole base, by the same amount on both sides.
      int start = length > 1 ? (base / 2) * (length - 1 - step) / (length - 1) : 0;
      int span = std::max(base - 2 * start, base % 2 ? 1 : 2);
      start = (base - span) / 2;
      int at = direction == "up" || direction == "left" ? step : length - 1 - step;
      if (vertical)
        Fill(x + start, y + at, span, 1, c);
      else
        Fill(x + at, y + start, 1, span, c);
    }
    return true;
  }

  // Paints every pixel of the box by the share of it that `inside` covers (4 x 4 samples a
  // pixel), so curved and slanted edges are smooth.
  template <class Inside>
  void Cover(int x, int y, int w, int h, Colour c, Inside inside)
  {
    constexpr int kSamples = 4;
    for (int row = std::max(0, y); row < std::min(height, y + h); ++row)
      for (int col = std::max(0, x); col < std::min(width, x + w); ++col) {
        int hits = 0;
        for (int sy = 0; sy < kSamples; ++sy)
          for (int sx = 0; sx < kSamples; ++sx)
            hits += inside(col + (sx + 0.5) / kSamples, row + (sy + 0.5) / kSamples) ? 1 : 0;
        if (hits == 0)
          continue;
        Colour& p = pixels[static_cast<size_t>(row) * static_cast<size_t>(width) + static_cast<size_t>(col)];
        auto mix = [&](unsigned char under, unsigned char over) {
          return static_cast<unsigned char>((under * (kSamples * kSamples - hits) + over * hits) / (kSamples * kSamples));
        };
        p = {mix(p.r, c.r), mix(p.g, c.g), mix(p.b, c.b)};
      }
  }

  void Disc(double cx, double cy, double r, Colour c)
  {
    Cover(static_cast<int>(cx - r) - 1, static_cast<int>(cy - r) - 1, static_cast<int>(2 * r) + 3,
          static_cast<int>(2 * r) + 3, c, [&](double px, double py) {
            return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r;
          });
  }

  // Pixels whose distance to the segment is at most half the width.
  void Stroke(double x1, double y1, double x2, double y2, double lineWidth, Colour c)
  {
    double half = lineWidth / 2;
    double dx = x2 - x1, dy = y2 - y1;
    double length2 = dx * dx + dy * dy;
    int left = static_cast<int>(std::min(x1, x2) - half) - 1, top = static_cast<int>(std::min(y1, y2) - half) - 1;
    int right = static_cast<int>(std::max(x1, x2) + half) + 2, bottom = static_cast<int>(std::max(y1, y2) + half) + 2;
    Cover(left, top, right - left, bottom - top, c, [&](double px, double py) {
      double t = length2 > 0 ? std::clamp(((px - x1) * dx + (py - y1) * dy) / length2, 0.0, 1.0) : 0.0;
      double ex = x1 + t * dx - px, ey = y1 + t * dy - py;
      return ex * ex + ey * ey <= half * half;
    });
  }

  void Fill(int x, int y, int w, int h, Colour c)
  {
    for (int row = std::max(0, y); row < std::min(height, y + h); ++row)
      for (int col = std::max(0, x); col < std::min(width, x + w); ++col)
        pixels[static_cast<size_t>(row) * static_cast<size_t>(width) + static_cast<size_t>(col)] = c;
  }
};

bool ParseColour(const std::string& text, Colour& colour)
{
  if (text.size() != 7 || text[0] != '#')
    return false;
  unsigned value = 0;
  for (size_t i = 1; i < 7; ++i) {
    char c = text[i];
    int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (digit < 0)
      return false;
    value = value * 16 + static_cast<unsigned>(digit);
  }
  colour = {static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 8), static_cast<unsigned char>(value)};
  return true;
}

bool WritePng(const Image& image, const std::string& path)
{
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out)
    return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(out);
    return false;
  }
  png_init_io(png, out);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<unsigned char> row(static_cast<size_t>(image.width) * 3);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const Colour& c = image.pixels[static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)];
      row[static_cast<size_t>(x) * 3] = c.r;
      row[static_cast<size_t>(x) * 3 + 1] = c.g;
      row[static_cast<size_t>(x) * 3 + 2] = c.b;
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(out) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc < 3 || argc > 4) {
    std::cerr << "usage: skingen <description> <output folder> [scale]\n";
    return 2;
  }
  int scale = argc == 4 ? std::atoi(argv[3]) : 1;
  if (scale < 1 || scale > 4) {
    std::cerr << "skingen: the scale is 1 to 4\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::cerr << "skingen: cannot read " << argv[1] << "\n";
    return 1;
  }
  std::vector<Image> images;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#')
      continue;
    std::istringstream words(line);
    std::string command;
    if (!(words >> command))
      continue;
    auto fail = [&](const std::string& why) {
      std::cerr << argv[1] << ":" << number << ": " << why << "\n";
      std::exit(1);
    };
    if (command == "image") {
      Image image;
      if (!(words >> image.file >> image.width >> image.height) || image.width <= 0 || image.height <= 0 ||
          image.width > 4096 || image.height > 4096 || image.file.find('/') != std::string::npos)
        fail("expected: image <file.png> <width> <height>");
      image.width *= scale;
      image.height *= scale;
      image.pixels.assign(static_cast<size_t>(image.width) * static_cast<size_t>(image.height), Colour{});
      images.push_back(std::move(image));
      continue;
    }
    if (images.empty())
      fail("a drawing command before the first image");
    Image& image = images.back();
    std::string a, b;
    int x = 0, y = 0, w = 0, h = 0;
    Colour first, second;
    if (command == "fill") {
      if (!(words >> a) || !ParseColour(a, first))
        fail("expected: fill <colour>");
      image.Fill(0, 0, image.width, image.height, first);
    } else if (command == "rect" || command == "frame") {
      if (!(words >> x >> y >> w >> h >> a) || !ParseColour(a, first))
        fail("expected: " + command + " <x> <y> <w> <h> <colour>");
      x *= scale, y *= scale, w *= scale, h *= scale;
      if (command == "rect") {
        image.Fill(x, y, w, h, first);
      } else {
        image.Fill(x, y, w, scale, first);
        image.Fill(x, y + h - scale, w, scale, first);
        image.Fill(x, y, scale, h, first);
        image.Fill(x + w - scale, y, scale, h, first);
      }
    } else if (command == "vgradient") {
      if (!(words >> x >> y >> w >> h >> a >> b) || !ParseColour(a, first) || !ParseColour(b, second))
        fail("expected: vgradient <x> <y> <w> <h> <top> <bottom>");
      x *= scale, y *= scale, w *= scale, h *= scale;
      for (int row = 0; row < h; ++row) {
        auto mix = [&](unsigned char p, unsigned char q) {
          return static_cast<unsigned char>(h > 1 ? p + (q - p) * row / (h - 1) : p);
        };
        image.Fill(x, y + row, w, 1, {mix(first.r, second.r), mix(first.g, second.g), mix(first.b, second.b)});
      }
    } else if (command == "edge" || command == "arrow") {
      if (!(words >> x >> y >> w >> h >> b >> a) || !ParseColour(a, first))
        fail("expected: " + command + " <x> <y> <w> <h> <" + (command == "edge" ? "side" : "direction") + "> <colour>");
      x *= scale, y *= scale, w *= scale, h *= scale;
      bool drawn = command == "edge" ? image.Edge(x, y, w, h, b, first) : image.Arrow(x, y, w, h, b, first);
      if (!drawn)
        fail("unknown " + std::string(command == "edge" ? "side " : "direction ") + b);
    } else if (command == "hairframe") {
      if (!(words >> x >> y >> w >> h >> a) || !ParseColour(a, first))
        fail("expected: hairframe <x> <y> <w> <h> <colour>");
      x *= scale, y *= scale, w *= scale, h *= scale;
      for (const char* side : {"top", "bottom", "left", "right"})
        image.Edge(x, y, w, h, side, first);
    } else if (command == "disc") {
      double cx = 0, cy = 0, r = 0;
      if (!(words >> cx >> cy >> r >> a) || !ParseColour(a, first) || r <= 0)
        fail("expected: disc <cx> <cy> <r> <colour>");
      image.Disc(cx * scale, cy * scale, r * scale, first);
    } else if (command == "stroke") {
      double x1 = 0, y1 = 0, x2 = 0, y2 = 0, lineWidth = 0;
      if (!(words >> x1 >> y1 >> x2 >> y2 >> lineWidth >> a) || !ParseColour(a, first) || lineWidth <= 0)
        fail("expected: stroke <x1> <y1> <x2> <y2> <width> <colour>");
      image.Stroke(x1 * scale, y1 * scale, x2 * scale, y2 * scale, lineWidth * scale, first);
    } else {
      fail("unknown command " + command);
    }
    std::string extra;
    if (words >> extra)
      fail("unexpected " + extra);
  }
  for (const Image& image : images) {
    if (!WritePng(image, std::string(argv[2]) + "/" + image.file)) {
      std::cerr << "skingen: cannot write " << image.file << "\n";
      return 1;
    }
  }
  return 0;
}
