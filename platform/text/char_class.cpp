// Character classes and case mapping of UTF-16 units, from small range tables.
#include <algorithm>
#include <iterator>

#include "text/widechar.h"

namespace {

struct Range {
  char16_t first;
  char16_t last;
};

// Upper-case letters and how they map to lower case: every unit of a block moves by delta, or,
// in an alternating block, the units at even offsets from first are upper case and the next
// unit is their lower case.
struct CaseBlock {
  char16_t first;
  char16_t last;
  int delta;
  bool alternating;
};

constexpr CaseBlock kCaseBlocks[] = {
    {0x0041, 0x005A, 32, false},   {0x00C0, 0x00D6, 32, false},  {0x00D8, 0x00DE, 32, false},
    {0x0100, 0x012F, 1, true},     {0x0132, 0x0137, 1, true},    {0x0139, 0x0148, 1, true},
    {0x014A, 0x0177, 1, true},     {0x0178, 0x0178, -121, false}, {0x0179, 0x017E, 1, true},
    {0x0386, 0x0386, 38, false},   {0x0388, 0x038A, 37, false},  {0x038C, 0x038C, 64, false},
    {0x038E, 0x038F, 63, false},   {0x0391, 0x03A1, 32, false},  {0x03A3, 0x03AB, 32, false},
    {0x0400, 0x040F, 80, false},   {0x0410, 0x042F, 32, false},  {0x0460, 0x0481, 1, true},
    {0x048A, 0x04BF, 1, true},     {0x04C0, 0x04C0, 15, false},  {0x04C1, 0x04CE, 1, true},
    {0x04D0, 0x04FF, 1, true},     {0x0531, 0x0556, 48, false},  {0x1E00, 0x1E95, 1, true},
    {0x1EA0, 0x1EFF, 1, true},     {0x2160, 0x216F, 16, false},  {0x24B6, 0x24CF, 26, false},
    {0xFF21, 0xFF3A, 32, false},
};

// Lower-case letters without a one-to-one upper case.
constexpr Range kLowerOnly[] = {{0x00B5, 0x00B5}, {0x00DF, 0x00DF}, {0x0131, 0x0131}, {0x0138, 0x0138},
                                {0x0149, 0x0149}, {0x017F, 0x017F}, {0x03C2, 0x03C2}};

// Letters that have no case, plus U+0130 (upper case, no one-to-one lower case).
constexpr Range kUncasedLetters[] = {
    {0x00AA, 0x00AA}, {0x00BA, 0x00BA}, {0x0130, 0x0130}, {0x0180, 0x024F}, {0x0250, 0x02AF},
    {0x05D0, 0x05EA}, {0x0620, 0x064A}, {0x0E01, 0x0E30}, {0x1100, 0x11FF}, {0x3005, 0x3006},
    {0x3041, 0x3096}, {0x30A1, 0x30FA}, {0x30FC, 0x30FF}, {0x3105, 0x312F}, {0x3400, 0x4DBF},
    {0x4E00, 0x9FFF}, {0xA000, 0xA48C}, {0xAC00, 0xD7A3}, {0xF900, 0xFAFF}, {0xFF66, 0xFF9F},
    {0xFFA0, 0xFFDC},
};

constexpr Range kSpaces[] = {{0x0009, 0x000D}, {0x0020, 0x0020}, {0x0085, 0x0085}, {0x00A0, 0x00A0},
                             {0x1680, 0x1680}, {0x2000, 0x200A}, {0x2028, 0x2029}, {0x202F, 0x202F},
                             {0x205F, 0x205F}, {0x3000, 0x3000}};

constexpr Range kPunctuation[] = {
    {0x0021, 0x002F}, {0x003A, 0x0040}, {0x005B, 0x0060}, {0x007B, 0x007E}, {0x00A1, 0x00A9},
    {0x00AB, 0x00B4}, {0x00B6, 0x00B9}, {0x00BB, 0x00BF}, {0x00D7, 0x00D7}, {0x00F7, 0x00F7},
    {0x2010, 0x2027}, {0x2030, 0x205E}, {0x20A0, 0x20CF}, {0x2100, 0x214F}, {0x2190, 0x23FF},
    {0x2460, 0x24B5}, {0x24EA, 0x24FF}, {0x2500, 0x27BF}, {0x3001, 0x3004}, {0x3008, 0x3020},
    {0x3030, 0x3030}, {0x303D, 0x303D}, {0x30FB, 0x30FB}, {0xFE30, 0xFE4F}, {0xFE50, 0xFE6B},
    {0xFF01, 0xFF0F}, {0xFF1A, 0xFF20}, {0xFF3B, 0xFF40}, {0xFF5B, 0xFF65}, {0xFFE0, 0xFFEE},
};

template <size_t N>
bool InRanges(const Range (&ranges)[N], WCHAR c)
{
  auto it = std::upper_bound(std::begin(ranges), std::end(ranges), c,
                             [](WCHAR value, const Range& r) { return value < r.first; });
  return it != std::begin(ranges) && c <= std::prev(it)->last;
}

bool IsUpperInBlock(const CaseBlock& b, WCHAR c)
{
  return c >= b.first && c <= b.last && (!b.alternating || (c - b.first) % 2 == 0);
}

bool InUnitRange(int c)
{
  return c >= 0 && c <= 0xFFFF;
}

}  // namespace

WCHAR towlower(WCHAR c)
{
  if (c < 0x80)
    return c >= u'A' && c <= u'Z' ? static_cast<WCHAR>(c + 32) : c;
  for (const CaseBlock& b : kCaseBlocks) {
    if (IsUpperInBlock(b, c))
      return static_cast<WCHAR>(c + b.delta);
  }
  return c;
}

WCHAR towupper(WCHAR c)
{
  if (c < 0x80)
    return c >= u'a' && c <= u'z' ? static_cast<WCHAR>(c - 32) : c;
  if (c == 0x03C2)  // final sigma
    return 0x03A3;
  for (const CaseBlock& b : kCaseBlocks) {
    int upper = c - b.delta;
    if (upper >= 0 && IsUpperInBlock(b, static_cast<WCHAR>(upper)))
      return static_cast<WCHAR>(upper);
  }
  return c;
}

int iswupper(WCHAR c)
{
  return towlower(c) != c || c == 0x0130;
}

int iswlower(WCHAR c)
{
  return towupper(c) != c || InRanges(kLowerOnly, c);
}

int iswalpha(WCHAR c)
{
  if (c < 0x80)
    return (c | 0x20) >= u'a' && (c | 0x20) <= u'z';
  return towlower(c) != c || towupper(c) != c || InRanges(kLowerOnly, c) || InRanges(kUncasedLetters, c);
}

int iswspace(WCHAR c)
{
  return InRanges(kSpaces, c);
}

int iswdigit(WCHAR c)
{
  return c >= u'0' && c <= u'9';
}

int iswxdigit(WCHAR c)
{
  return iswdigit(c) || ((c | 0x20) >= u'a' && (c | 0x20) <= u'f');
}

int iswalnum(WCHAR c)
{
  return iswalpha(c) || iswdigit(c);
}

int iswpunct(WCHAR c)
{
  return InRanges(kPunctuation, c);
}

int iswcntrl(WCHAR c)
{
  return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

int iswprint(WCHAR c)
{
  return !iswcntrl(c) && !(c >= 0xD800 && c <= 0xDFFF) && c != 0xFFFE && c != 0xFFFF;
}

int towlower(int c)
{
  return InUnitRange(c) ? towlower(static_cast<WCHAR>(c)) : c;
}

int towupper(int c)
{
  return InUnitRange(c) ? towupper(static_cast<WCHAR>(c)) : c;
}

#define KV_INT_CLASS(name) \
  int name(int c) { return InUnitRange(c) && name(static_cast<WCHAR>(c)); }
KV_INT_CLASS(iswspace)
KV_INT_CLASS(iswdigit)
KV_INT_CLASS(iswxdigit)
KV_INT_CLASS(iswalpha)
KV_INT_CLASS(iswalnum)
KV_INT_CLASS(iswupper)
KV_INT_CLASS(iswlower)
KV_INT_CLASS(iswpunct)
KV_INT_CLASS(iswcntrl)
KV_INT_CLASS(iswprint)
#undef KV_INT_CLASS
