#include "statement_paging.h"

int RescaleStatementPage(int oldRows, int page, int newRows)
{
  if (newRows <= 0)
    return 1;
  int rescaled = oldRows * page / newRows;
  return rescaled < 2 ? 1 : rescaled;
}

int StatementPageCount(int total, int rows)
{
  if (rows <= 0 || total <= 0)
    return 0;
  return (total + rows - 1) / rows;
}

bool HasStatementPageAfter(int page, int total, int rows)
{
  if (rows <= 0)
    return false;
  int next = page + 1;
  return next <= total / rows + 1 && total != rows * (next - 1);
}
