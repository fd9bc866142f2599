// Tokens of resource scripts and their headers of ids. Comments go; "#include" splices the
// included file's tokens in; "#define NAME value" records a name; other directives are passed
// over. Text is UTF-8.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "resource_set.h"

namespace resources {

enum class TokenKind { identifier, number, string, punct, end };

struct Token {
  TokenKind kind = TokenKind::end;
  std::string text;     // identifier (as written), punctuation
  std::u16string wide;  // string literal
  DWORD number = 0;
  int file = 0;  // index into Tokens::files
  int line = 0;
};

struct Tokens {
  std::vector<Token> tokens;  // ends with one TokenKind::end
  std::vector<std::string> files;
  std::map<std::string, std::vector<Token>> defines;
  std::vector<Diagnostic> diagnostics;
};

// Appends a file's tokens (and those of the files it includes) to tokens.
void LexFile(const std::string& name, const FileReader& read, Tokens& tokens);
// Closes the token list.
void FinishTokens(Tokens& tokens);

}  // namespace resources
