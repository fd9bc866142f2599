// The soft-key menus a page of the web centre gives through its script function "clientMenu":
// "left entries;right entries", entries separated by ",", each "name[:action[:type]]".
#pragma once

#include <vector>

#include "text/cstring.h"

struct ClientMenuEntry {
  CStringW name;
  CStringW action;
  // 1: the action loads a page (html); 0: it is sent as a gateway request and the dialog closes
  // after a payment; -1 ("json1"): sent as a request, the dialog stays after a payment.
  int type = 1;
};

// Splits the menu text into the left key's and the right key's entries. Leading ";" are skipped,
// then the text is cut at the next ";"; runs of "," count as one.
void ParseClientMenu(const CStringW& text, std::vector<ClientMenuEntry>& left, std::vector<ClientMenuEntry>& right);
