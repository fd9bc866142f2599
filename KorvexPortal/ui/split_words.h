// Cutting a text into pieces: at one separator character, or into words at blanks, tabs and
// line ends. A maximum count above 0 limits the pieces: the last piece is the rest of the text.
#pragma once

#include <vector>

#include "text/cstring.h"

// Pieces between separators. A leading separator gives an empty first piece; a trailing one
// gives no empty last piece unless the maximum is reached right there.
std::vector<CStringW> SplitOnChar(const CStringW& text, WCHAR separator, int maxCount);

// Words between runs of blanks, tabs, carriage returns and line feeds; a run counts as one
// separator.
std::vector<CStringW> SplitWords(const CStringW& text, int maxCount);
