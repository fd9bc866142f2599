#include "list_cell.h"

CListCell::~CListCell()
{
  if (m_hImage)
    ::DeleteObject(m_hImage);
}
