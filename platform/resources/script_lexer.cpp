// The resource-script lexer and its few preprocessor directives.
#include "script_lexer.h"

#include <cctype>

#include "kernel/device_root.h"

namespace resources {
namespace {

constexpr int kMaxIncludeDepth = 8;

bool IsIdentStart(char c)
{
  return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool IsIdentChar(char c)
{
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

class Lexer {
 public:
  Lexer(const std::string& text, int file, const FileReader& read, Tokens& out, int depth)
      : text_(text), file_(file), read_(read), out_(out), depth_(depth)
  {
  }

  void Run()
  {
    while (pos_ < text_.size()) {
      char c = text_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
        atLineStart_ = true;
      } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
        ++pos_;
      } else if (c == '/' && Peek(1) == '/') {
        SkipToLineEnd();
      } else if (c == '/' && Peek(1) == '*') {
        BlockComment();
      } else if (c == '#' && atLineStart_) {
        Directive();
      } else {
        atLineStart_ = false;
        if (c == '"' || ((c == 'L' || c == 'l') && Peek(1) == '"')) {
          StringLiteral();
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
          Number();
        } else if (IsIdentStart(c)) {
          size_t start = pos_;
          while (pos_ < text_.size() && IsIdentChar(text_[pos_]))
            ++pos_;
          Emit(TokenKind::identifier, text_.substr(start, pos_ - start));
        } else {
          ++pos_;
          Emit(TokenKind::punct, std::string(1, c));
        }
      }
    }
  }

 private:
  char Peek(size_t ahead) const { return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0'; }

  void Report(const std::string& message)
  {
    out_.diagnostics.push_back({out_.files[static_cast<size_t>(file_)], line_, message});
  }

  Token& Emit(TokenKind kind, std::string text)
  {
    Token token;
    token.kind = kind;
    token.text = std::move(text);
    token.file = file_;
    token.line = line_;
    target_->push_back(std::move(token));
    return target_->back();
  }

  void SkipToLineEnd()
  {
    while (pos_ < text_.size() && text_[pos_] != '\n')
      ++pos_;
  }

  void BlockComment()
  {
    int startLine = line_;
    pos_ += 2;
    while (pos_ < text_.size() && !(text_[pos_] == '*' && Peek(1) == '/')) {
      if (text_[pos_] == '\n')
        ++line_;
      ++pos_;
    }
    if (pos_ >= text_.size()) {
      out_.diagnostics.push_back({out_.files[static_cast<size_t>(file_)], startLine, "comment not closed"});
      return;
    }
    pos_ += 2;
  }

  void Number()
  {
    size_t start = pos_;
    int base = 10;
    if (text_[pos_] == '0' && (Peek(1) == 'x' || Peek(1) == 'X')) {
      base = 16;
      pos_ += 2;
    }
    uint64_t value = 0;
    bool digits = false;
    bool tooLarge = false;
    while (pos_ < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[pos_]))) {
      char c = text_[pos_];
      int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (std::tolower(c) - 'a' + 10);
      if (digit >= base)
        break;
      value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
      tooLarge = tooLarge || value > 0xFFFFFFFFu;
      digits = true;
      ++pos_;
    }
    while (pos_ < text_.size() && (text_[pos_] == 'L' || text_[pos_] == 'l' || text_[pos_] == 'U' || text_[pos_] == 'u'))
      ++pos_;
    if (!digits || tooLarge || (pos_ < text_.size() && IsIdentChar(text_[pos_]))) {
      while (pos_ < text_.size() && IsIdentChar(text_[pos_]))
        ++pos_;
      Report("bad number " + text_.substr(start, pos_ - start));
      Emit(TokenKind::number, text_.substr(start, pos_ - start));
      return;
    }
    Emit(TokenKind::number, text_.substr(start, pos_ - start)).number = static_cast<DWORD>(value);
  }

  // "..." with "" or \" for a quote and the escapes \n \t \r \\ \0.
  void StringLiteral()
  {
    if (text_[pos_] != '"')
      ++pos_;
    ++pos_;
    std::string bytes;
    for (;;) {
      if (pos_ >= text_.size() || text_[pos_] == '\n') {
        Report("string not closed");
        break;
      }
      char c = text_[pos_++];
      if (c == '"') {
        if (Peek(0) == '"') {
          bytes.push_back('"');
          ++pos_;
          continue;
        }
        break;
      }
      if (c == '\\' && pos_ < text_.size()) {
        char e = text_[pos_++];
        switch (e) {
          case 'n': bytes.push_back('\n'); break;
          case 't': bytes.push_back('\t'); break;
          case 'r': bytes.push_back('\r'); break;
          case '0': bytes.push_back('\0'); break;
          case '\\': bytes.push_back('\\'); break;
          case '"': bytes.push_back('"'); break;
          default:
            bytes.push_back('\\');
            bytes.push_back(e);
            break;
        }
        continue;
      }
      bytes.push_back(c);
    }
    Token& token = Emit(TokenKind::string, {});
    if (auto wide = device::FromHost(bytes)) {
      token.wide = std::move(*wide);
    } else {
      Report("text is not UTF-8");
    }
  }

  // A directive runs to the end of its line.
  void Directive()
  {
    size_t start = pos_ + 1;
    SkipToLineEnd();
    std::string line = text_.substr(start, pos_ - start);
    size_t nameStart = line.find_first_not_of(" \t");
    if (nameStart == std::string::npos)
      return;
    size_t nameEnd = nameStart;
    while (nameEnd < line.size() && IsIdentChar(line[nameEnd]))
      ++nameEnd;
    std::string directive = line.substr(nameStart, nameEnd - nameStart);
    std::string rest = line.substr(nameEnd);
    if (directive == "include") {
      Include(rest);
    } else if (directive == "define") {
      Define(rest);
    } else if (directive == "undef") {
      size_t s = rest.find_first_not_of(" \t");
      size_t e = s == std::string::npos ? s : rest.find_first_of(" \t\r", s);
      if (s != std::string::npos)
        out_.defines.erase(rest.substr(s, e == std::string::npos ? std::string::npos : e - s));
    } else if (directive != "ifdef" && directive != "ifndef" && directive != "if" && directive != "endif" &&
               directive != "else" && directive != "elif" && directive != "pragma") {
      Report("unknown directive #" + directive);
    }
  }

  void Include(const std::string& rest)
  {
    size_t open = rest.find_first_not_of(" \t");
    if (open != std::string::npos && rest[open] == '<')
      return;  // the platform's own headers: their names are known already
    size_t close = open == std::string::npos ? open : rest.find('"', open + 1);
    if (open == std::string::npos || rest[open] != '"' || close == std::string::npos) {
      Report("#include needs a \"file\"");
      return;
    }
    std::string name = rest.substr(open + 1, close - open - 1);
    if (depth_ >= kMaxIncludeDepth) {
      Report("#include nested too deep: " + name);
      return;
    }
    LexNested(name);
  }

  void LexNested(const std::string& name)
  {
    std::optional<std::string> text = read_(name);
    if (!text) {
      Report("cannot read " + name);
      return;
    }
    out_.files.push_back(name);
    Lexer nested(*text, static_cast<int>(out_.files.size() - 1), read_, out_, depth_ + 1);
    nested.target_ = target_;
    nested.Run();
  }

  void Define(const std::string& rest)
  {
    size_t s = rest.find_first_not_of(" \t");
    if (s == std::string::npos || !IsIdentStart(rest[s])) {
      Report("#define needs a name");
      return;
    }
    size_t e = s;
    while (e < rest.size() && IsIdentChar(rest[e]))
      ++e;
    if (e < rest.size() && rest[e] == '(') {
      Report("#define with parameters is not supported");
      return;
    }
    std::string name = rest.substr(s, e - s);
    std::vector<Token> value;
    std::string valueText = rest.substr(e);
    Lexer valueLexer(valueText, file_, read_, out_, depth_);
    valueLexer.line_ = line_;
    valueLexer.atLineStart_ = false;
    valueLexer.target_ = &value;
    valueLexer.Run();
    out_.defines[name] = std::move(value);
  }

  const std::string& text_;
  int file_;
  const FileReader& read_;
  Tokens& out_;
  int depth_;
  std::vector<Token>* target_ = &out_.tokens;
  size_t pos_ = 0;
  int line_ = 1;
  bool atLineStart_ = true;
};

}  // namespace

void LexFile(const std::string& name, const FileReader& read, Tokens& tokens)
{
  std::optional<std::string> text = read(name);
  tokens.files.push_back(name);
  if (!text) {
    tokens.diagnostics.push_back({name, 0, "cannot read " + name});
    return;
  }
  std::string content = std::move(*text);
  if (content.rfind("\xEF\xBB\xBF", 0) == 0)
    content.erase(0, 3);
  Lexer lexer(content, static_cast<int>(tokens.files.size() - 1), read, tokens, 0);
  lexer.Run();
}

void FinishTokens(Tokens& tokens)
{
  Token end;
  end.file = tokens.files.empty() ? 0 : static_cast<int>(tokens.files.size() - 1);
  end.line = tokens.tokens.empty() ? 0 : tokens.tokens.back().line;
  tokens.tokens.push_back(end);
}

}  // namespace resources
