#include "client_menu.h"

namespace {

void ParseEntries(const CStringW& part, std::vector<ClientMenuEntry>& entries)
{
  entries.clear();
  int start = 0;
  while (start <= part.GetLength()) {
    int end = part.Find(u',', start);
    CStringW entry = end < 0 ? part.Mid(start) : part.Mid(start, end - start);
    start = end < 0 ? part.GetLength() + 1 : end + 1;
    if (entry.IsEmpty())
      continue;
    ClientMenuEntry item;
    int colon = entry.Find(u':');
    if (colon < 0) {
      item.name = entry;
      item.type = 1;
    } else {
      item.name = entry.Left(colon);
      int second = entry.Find(u':', colon + 1);
      item.action = second < 0 ? entry.Mid(colon + 1) : entry.Mid(colon + 1, second - colon - 1);
      CStringW rest = second < 0 ? CStringW() : entry.Mid(second + 1);
      rest.MakeLower();
      item.type = rest == u"html" ? 1 : rest == u"json1" ? -1 : 0;
    }
    entries.push_back(item);
  }
}

}  // namespace

void ParseClientMenu(const CStringW& text, std::vector<ClientMenuEntry>& left, std::vector<ClientMenuEntry>& right)
{
  int first = 0;
  while (first < text.GetLength() && text[first] == u';')
    ++first;
  int cut = text.Find(u';', first);
  ParseEntries(cut < 0 ? text.Mid(first) : text.Mid(first, cut - first), left);
  ParseEntries(cut < 0 ? CStringW() : text.Mid(cut + 1), right);
}
