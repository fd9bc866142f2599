// Reading a layout string.
#include "title_layout.h"

#include "text/widechar.h"

TitleLayout ParseTitleLayout(const CStringW& text)
{
  TitleLayout layout;
  int* numbers[] = {&layout.portraitCenterX, &layout.portraitTop, &layout.landscapeCenterX, &layout.landscapeTop};
  int position = 0;
  for (int field = 0; field < 5; ++field) {
    CStringW token = text.Tokenize(u",", position);
    if (position < 0)
      break;
    if (field < 4)
      *numbers[field] = _wtoi(token);
    else
      layout.title = token;
  }
  return layout;
}
