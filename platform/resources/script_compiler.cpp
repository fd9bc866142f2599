// The resource-script compiler: DIALOG and DIALOGEX (with CONTROL lines and the common
// shorthand lines), STRINGTABLE, MENU with POPUP and MENUITEM, BITMAP and HTML file references.
// A statement or item line in error is reported with its file and line and left out.
#include <algorithm>
#include <map>
#include <set>

#include "internal/user/dialog_template_writer.h"
#include "resource_compile.h"
#include "script_lexer.h"
#include "style_names.h"
#include "user/menu.h"
#include "user/window_styles.h"

namespace resources {
namespace {

constexpr int kMaxDefineDepth = 16;
constexpr int kMaxMenuDepth = 8;
constexpr DWORD kChildDefaults = WS_CHILD | WS_VISIBLE;

struct ParseError {
  const Token* at;
  std::string message;
};

std::string Upper(std::string text)
{
  for (char& c : text)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// The shorthand control lines: class, default style, whether a text comes first.
struct Shorthand {
  WORD classAtom;
  DWORD style;
  bool hasText;
};

const std::map<std::string, Shorthand>& Shorthands()
{
  static const std::map<std::string, Shorthand> table = {
      {"LTEXT", {DLG_CLASS_STATIC, 0x0 | WS_GROUP, true}},
      {"RTEXT", {DLG_CLASS_STATIC, 0x2 | WS_GROUP, true}},
      {"CTEXT", {DLG_CLASS_STATIC, 0x1 | WS_GROUP, true}},
      {"PUSHBUTTON", {DLG_CLASS_BUTTON, 0x0 | WS_TABSTOP, true}},
      {"DEFPUSHBUTTON", {DLG_CLASS_BUTTON, 0x1 | WS_TABSTOP, true}},
      {"CHECKBOX", {DLG_CLASS_BUTTON, 0x2 | WS_TABSTOP, true}},
      {"AUTOCHECKBOX", {DLG_CLASS_BUTTON, 0x3 | WS_TABSTOP, true}},
      {"RADIOBUTTON", {DLG_CLASS_BUTTON, 0x4, true}},
      {"AUTORADIOBUTTON", {DLG_CLASS_BUTTON, 0x9, true}},
      {"GROUPBOX", {DLG_CLASS_BUTTON, 0x7, true}},
      {"EDITTEXT", {DLG_CLASS_EDIT, 0x0 | WS_BORDER | WS_TABSTOP, false}},
      {"LISTBOX", {DLG_CLASS_LISTBOX, 0x1 | WS_BORDER, false}},
      {"COMBOBOX", {DLG_CLASS_COMBOBOX, 0x1 | WS_TABSTOP, false}},
      {"SCROLLBAR", {DLG_CLASS_SCROLLBAR, 0x0, false}},
  };
  return table;
}

std::optional<WORD> ClassAtom(const std::string& name)
{
  static const std::map<std::string, WORD> atoms = {
      {"BUTTON", DLG_CLASS_BUTTON},       {"EDIT", DLG_CLASS_EDIT},           {"STATIC", DLG_CLASS_STATIC},
      {"LISTBOX", DLG_CLASS_LISTBOX},     {"SCROLLBAR", DLG_CLASS_SCROLLBAR}, {"COMBOBOX", DLG_CLASS_COMBOBOX},
  };
  auto found = atoms.find(Upper(name));
  if (found == atoms.end())
    return std::nullopt;
  return found->second;
}

bool IsLoadOption(const std::string& word)
{
  static const std::set<std::string> options = {"DISCARDABLE", "MOVEABLE", "PURE",     "IMPURE",   "PRELOAD",
                                                "LOADONCALL",  "FIXED",    "SHARED",   "NONSHARED"};
  return options.count(Upper(word)) > 0;
}

class Compiler {
 public:
  Compiler(Tokens& tokens, const FileReader& read, ResourceSet& out) : t_(tokens), read_(read), out_(out) {}

  void Run()
  {
    while (Cur().kind != TokenKind::end) {
      size_t start = pos_;
      try {
        Statement();
      } catch (const ParseError& error) {
        Report(error);
        SkipStatement(start, error.at);
      }
    }
    AddStringBlocks(strings_, out_);
  }

 private:
  // ---- tokens
  const Token& Cur() const { return t_.tokens[pos_]; }
  const Token& Next() const { return t_.tokens[std::min(pos_ + 1, t_.tokens.size() - 1)]; }
  const Token& Take()
  {
    const Token& token = t_.tokens[pos_];
    if (token.kind != TokenKind::end)
      ++pos_;
    return token;
  }
  bool IsPunct(const Token& token, char c) const { return token.kind == TokenKind::punct && token.text[0] == c; }
  bool IsWord(const Token& token, const char* word) const
  {
    return token.kind == TokenKind::identifier && Upper(token.text) == word;
  }
  bool TakePunct(char c)
  {
    if (!IsPunct(Cur(), c))
      return false;
    Take();
    return true;
  }
  void ExpectComma()
  {
    if (!TakePunct(','))
      Fail("expected ','");
  }
  bool IsBegin(const Token& token) const { return IsWord(token, "BEGIN") || IsPunct(token, '{'); }
  bool IsEnd(const Token& token) const { return IsWord(token, "END") || IsPunct(token, '}'); }
  [[noreturn]] void Fail(const std::string& message) const { throw ParseError{&Cur(), message}; }
  [[noreturn]] void FailAt(const Token& token, const std::string& message) const { throw ParseError{&token, message}; }

  void Report(const ParseError& error)
  {
    const Token& at = error.at->kind == TokenKind::end && pos_ > 0 ? t_.tokens[pos_ - 1] : *error.at;
    std::string near = at.kind == TokenKind::end ? "at the end" : "near '" + (at.kind == TokenKind::string ? std::string("\"...\"") : at.text) + "'";
    out_.diagnostics.push_back({t_.files[static_cast<size_t>(at.file)], at.line, error.message + " (" + near + ")"});
  }
  bool SameLine(const Token& a, const Token& b) const { return a.file == b.file && a.line == b.line; }

  // After an error in a statement: on to the next line, and past a block that the statement
  // would have opened there.
  void SkipStatement(size_t start, const Token* at)
  {
    if (pos_ == start)
      Take();
    while (Cur().kind != TokenKind::end && SameLine(Cur(), *at) && !IsEnd(Cur()))
      Take();
    if (IsEnd(Cur()) && SameLine(Cur(), *at))
      Take();
    while (Cur().kind != TokenKind::end && !IsBegin(Cur()) && StartsStatementOption(Cur()))
      SkipLine();
    if (IsBegin(Cur()))
      SkipBlock();
  }
  bool StartsStatementOption(const Token& token) const
  {
    static const char* options[] = {"STYLE", "EXSTYLE", "CAPTION", "FONT", "MENU", "CLASS", "LANGUAGE", "CHARACTERISTICS", "VERSION"};
    for (const char* option : options)
      if (IsWord(token, option))
        return true;
    return false;
  }
  void SkipLine()
  {
    const Token& first = Cur();
    while (Cur().kind != TokenKind::end && SameLine(Cur(), first))
      Take();
  }
  void SkipBlock()
  {
    int depth = 0;
    do {
      if (IsBegin(Cur()))
        ++depth;
      else if (IsEnd(Cur()))
        --depth;
      Take();
    } while (depth > 0 && Cur().kind != TokenKind::end);
  }
  // Inside a block: an item in error is left out up to the end of its line.
  template <class Item>
  void Block(const char* what, Item item)
  {
    if (!IsBegin(Cur()))
      Fail(std::string("expected BEGIN of the ") + what);
    Take();
    while (!IsEnd(Cur())) {
      if (Cur().kind == TokenKind::end)
        Fail(std::string("the ") + what + " has no END");
      size_t start = pos_;
      const Token& first = Cur();
      try {
        item();
      } catch (const ParseError& error) {
        Report(error);
        if (pos_ == start)
          Take();
        while (Cur().kind != TokenKind::end && SameLine(Cur(), first) && !IsEnd(Cur()))
          Take();
        if (IsBegin(Cur()))
          SkipBlock();
      }
    }
    Take();
  }

  // ---- numbers: terms joined by | + - & with unary - ~ NOT and parentheses
  DWORD Expression() { return StyleExpression(0); }

  // NOT removes its term's bits from what came before (the defaults of a line included).
  DWORD StyleExpression(DWORD initial)
  {
    DWORD value = initial;
    char op = '|';
    for (;;) {
      bool negate = false;
      if (IsWord(Cur(), "NOT")) {
        Take();
        negate = true;
      }
      DWORD term = Unary();
      if (negate)
        value &= ~term;
      else if (op == '|')
        value |= term;
      else if (op == '+')
        value += term;
      else if (op == '-')
        value -= term;
      else
        value &= term;
      if (IsPunct(Cur(), '|') || IsPunct(Cur(), '+') || IsPunct(Cur(), '-') || IsPunct(Cur(), '&'))
        op = Take().text[0];
      else
        return value;
    }
  }

  DWORD Unary()
  {
    const Token& token = Cur();
    if (TakePunct('-'))
      return 0u - Unary();
    if (TakePunct('~'))
      return ~Unary();
    if (TakePunct('(')) {
      DWORD value = StyleExpression(0);
      if (!TakePunct(')'))
        Fail("expected ')'");
      return value;
    }
    if (token.kind == TokenKind::number) {
      Take();
      return token.number;
    }
    if (token.kind == TokenKind::identifier) {
      Take();
      if (std::optional<DWORD> value = DefinedValue(token.text))
        return *value;
      if (std::optional<DWORD> value = StyleValue(token.text))
        return *value;
      FailAt(token, "unknown name " + token.text);
    }
    Fail("expected a number");
  }

  // A #define'd name's value, evaluated in place.
  std::optional<DWORD> DefinedValue(const std::string& name)
  {
    auto found = t_.defines.find(name);
    if (found == t_.defines.end())
      return std::nullopt;
    if (defineDepth_ >= kMaxDefineDepth)
      Fail("#define " + name + " refers to itself");
    std::vector<Token> value = found->second;
    if (value.empty())
      return 1;
    Token end;
    end.file = value.back().file;
    end.line = value.back().line;
    value.push_back(end);
    // Evaluate over the define's tokens, then come back; an error is reported at the name.
    size_t nameAt = pos_ - 1;
    std::string message;
    DWORD result = 0;
    {
      std::vector<Token> saved;
      saved.swap(t_.tokens);
      t_.tokens = std::move(value);
      size_t savedPos = pos_;
      pos_ = 0;
      ++defineDepth_;
      try {
        result = Expression();
        if (Cur().kind != TokenKind::end)
          message = "#define " + name + " is not a number";
      } catch (const ParseError& error) {
        message = error.message;
      }
      t_.tokens.swap(saved);
      pos_ = savedPos;
      --defineDepth_;
    }
    if (!message.empty())
      FailAt(t_.tokens[nameAt], message);
    return result;
  }

  WORD Word(const char* what)
  {
    const Token& at = Cur();
    DWORD value = Expression();
    // Negative values down to -32768 are kept as their 16-bit form (-1 is 0xFFFF).
    if (value > 0xFFFF && (static_cast<int32_t>(value) >= 0 || static_cast<int32_t>(value) < -32768))
      FailAt(at, std::string(what) + " does not fit 16 bits");
    return static_cast<WORD>(value);
  }
  short Coordinate()
  {
    const Token& at = Cur();
    auto value = static_cast<int32_t>(Expression());
    if (value < -32768 || value > 32767)
      FailAt(at, "coordinate out of range");
    return static_cast<short>(value);
  }
  std::u16string Text()
  {
    if (Cur().kind != TokenKind::string)
      Fail("expected a \"text\"");
    return Take().wide;
  }

  // ---- statements
  void Statement()
  {
    if (IsWord(Cur(), "STRINGTABLE")) {
      Take();
      while (Cur().kind == TokenKind::identifier && IsLoadOption(Cur().text))
        Take();
      StringTable();
      return;
    }
    if (IsWord(Cur(), "LANGUAGE")) {
      Take();
      Expression();
      ExpectComma();
      Expression();
      return;
    }
    const Token& nameToken = Cur();
    ResourceId name = ResourceName();
    const Token& typeToken = Cur();
    if (typeToken.kind != TokenKind::identifier)
      Fail("expected a resource type");
    std::string type = Upper(Take().text);
    while (Cur().kind == TokenKind::identifier && IsLoadOption(Cur().text))
      Take();
    if (type == "DIALOG" || type == "DIALOGEX")
      Add(nameToken, ResourceId::Ordinal(5), name, Dialog());
    else if (type == "MENU")
      Add(nameToken, ResourceId::Ordinal(4), name, Menu(nameToken));
    else if (type == "BITMAP")
      Add(nameToken, ResourceId::Ordinal(2), name, FileContents());
    else if (type == "HTML")
      Add(nameToken, ResourceId::Ordinal(23), name, FileContents());
    else
      FailAt(typeToken, "unsupported resource type " + typeToken.text);
  }

  ResourceId ResourceName()
  {
    const Token& token = Cur();
    if (token.kind == TokenKind::string) {
      Take();
      return ResourceId::Name(token.wide);
    }
    if (token.kind == TokenKind::identifier && !t_.defines.count(token.text)) {
      Take();
      return ResourceId::Name(std::u16string(token.text.begin(), token.text.end()));
    }
    if (token.kind == TokenKind::identifier || token.kind == TokenKind::number)
      return ResourceId::Ordinal(Word("a resource id"));
    Fail("expected a resource name");
  }

  void Add(const Token& at, ResourceId type, ResourceId name, std::vector<BYTE> data)
  {
    for (const Resource& resource : out_.resources)
      if (resource.type == type && resource.name == name)
        FailAt(at, "a resource of this type and name is already defined");
    out_.resources.push_back({std::move(type), std::move(name), std::move(data)});
  }

  void StringTable()
  {
    Block("string table", [&] {
      const Token& at = Cur();
      WORD id = Word("a string id");
      TakePunct(',');
      std::u16string text = Text();
      if (!strings_.emplace(id, std::move(text)).second)
        FailAt(at, "string " + std::to_string(id) + " is already defined");
    });
  }

  std::vector<BYTE> FileContents()
  {
    const Token& at = Cur();
    std::u16string wide = Text();
    std::string name;
    for (char16_t c : wide) {
      if (c >= 0x80)
        FailAt(at, "a file name must be plain ASCII");
      name.push_back(c == u'\\' ? '/' : static_cast<char>(c));
    }
    if (name.empty() || name[0] == '/' || ("/" + name + "/").find("/../") != std::string::npos)
      FailAt(at, "a file must lie inside the library's folder");
    std::optional<std::string> bytes = read_(name);
    if (!bytes)
      FailAt(at, "cannot read " + name);
    return std::vector<BYTE>(bytes->begin(), bytes->end());
  }

  // ---- dialogs
  std::vector<BYTE> Dialog()
  {
    user_dialog::DialogSpec spec;
    spec.x = Coordinate();
    ExpectComma();
    spec.y = Coordinate();
    ExpectComma();
    spec.cx = Coordinate();
    ExpectComma();
    spec.cy = Coordinate();
    if (TakePunct(','))
      Expression();  // a help id
    std::optional<DWORD> style;
    bool caption = false;
    while (!IsBegin(Cur())) {
      const Token& option = Cur();
      if (option.kind != TokenKind::identifier)
        Fail("expected BEGIN of the dialog");
      std::string word = Upper(Take().text);
      if (word == "STYLE") {
        style = Expression();
      } else if (word == "EXSTYLE") {
        spec.exStyle = Expression();
      } else if (word == "CAPTION") {
        spec.title = Text();
        caption = true;
      } else if (word == "FONT") {
        spec.pointSize = Word("a point size");
        ExpectComma();
        spec.faceName = Text();
        if (spec.faceName.empty())
          FailAt(option, "FONT needs a face name");
        while (TakePunct(','))
          Expression();  // weight, italic, character set
      } else if (word == "MENU") {
        ResourceId menu = ResourceName();
        spec.menu = menu.name.empty() ? user_dialog::TemplateName::Ordinal(menu.ordinal)
                                      : user_dialog::TemplateName::Text(menu.name);
      } else if (word == "CLASS") {
        spec.className = user_dialog::TemplateName::Text(Text());
      } else if (word == "LANGUAGE") {
        Expression();
        ExpectComma();
        Expression();
      } else if (word == "CHARACTERISTICS" || word == "VERSION") {
        Expression();
      } else {
        FailAt(option, "unknown dialog option " + option.text);
      }
    }
    spec.style = style ? *style : (WS_POPUP | WS_BORDER | WS_SYSMENU | (caption ? WS_CAPTION : 0));
    Block("dialog", [&] { spec.items.push_back(DialogItem()); });
    if (spec.items.size() > 0xFFFF)
      Fail("too many controls");
    std::vector<BYTE> bytes = user_dialog::BuildDialogTemplate(spec);
    if (bytes.empty())
      Fail("the dialog does not fit a template");
    return bytes;
  }

  user_dialog::DialogItemSpec DialogItem()
  {
    const Token& keyword = Cur();
    if (keyword.kind != TokenKind::identifier)
      Fail("expected a control line");
    std::string word = Upper(Take().text);
    user_dialog::DialogItemSpec item;
    if (word == "CONTROL") {
      item.title = ItemTitle();
      ExpectComma();
      item.id = Word("a control id");
      ExpectComma();
      const Token& classToken = Cur();
      if (classToken.kind == TokenKind::string) {
        Take();
        std::string narrow(classToken.wide.begin(), classToken.wide.end());
        std::optional<WORD> atom = classToken.wide.size() == narrow.size() ? ClassAtom(narrow) : std::nullopt;
        item.className = atom ? user_dialog::TemplateName::Ordinal(*atom) : user_dialog::TemplateName::Text(classToken.wide);
      } else if (classToken.kind == TokenKind::identifier && ClassAtom(classToken.text)) {
        Take();
        item.className = user_dialog::TemplateName::Ordinal(*ClassAtom(classToken.text));
      } else {
        Fail("expected a control class");
      }
      ExpectComma();
      item.style = StyleExpression(kChildDefaults);
      ExpectComma();
      Rectangle(item);
      if (TakePunct(','))
        item.exStyle = Expression();
      if (TakePunct(','))
        Expression();  // a help id
    } else if (auto shorthand = Shorthands().find(word); shorthand != Shorthands().end()) {
      item.className = user_dialog::TemplateName::Ordinal(shorthand->second.classAtom);
      if (shorthand->second.hasText) {
        item.title = ItemTitle();
        ExpectComma();
      }
      item.id = Word("a control id");
      ExpectComma();
      Rectangle(item);
      item.style = kChildDefaults | shorthand->second.style;
      if (TakePunct(','))
        item.style = StyleExpression(item.style);
      if (TakePunct(','))
        item.exStyle = Expression();
    } else {
      FailAt(keyword, "unknown control line " + keyword.text);
    }
    return item;
  }

  user_dialog::TemplateName ItemTitle()
  {
    if (Cur().kind == TokenKind::string)
      return user_dialog::TemplateName::Text(Take().wide);
    return user_dialog::TemplateName::Ordinal(Word("a text id"));
  }

  void Rectangle(user_dialog::DialogItemSpec& item)
  {
    item.x = Coordinate();
    ExpectComma();
    item.y = Coordinate();
    ExpectComma();
    item.cx = Coordinate();
    ExpectComma();
    item.cy = Coordinate();
  }

  // ---- menus
  std::vector<BYTE> Menu(const Token& nameToken)
  {
    std::vector<MenuNode> items = MenuItems(0);
    if (items.empty())
      FailAt(nameToken, "the menu has no items");
    return MenuTemplateBytes(items);
  }

  std::vector<MenuNode> MenuItems(int depth)
  {
    if (depth > kMaxMenuDepth)
      Fail("menus nested too deep");
    std::vector<MenuNode> items;
    Block("menu", [&] {
      const Token& keyword = Cur();
      MenuNode node;
      if (IsWord(keyword, "MENUITEM")) {
        Take();
        if (IsWord(Cur(), "SEPARATOR")) {
          Take();
          node.flags = MF_SEPARATOR;
          node.id = kSeparatorId;
        } else {
          node.text = Text();
          ExpectComma();
          node.id = Word("a command id");
          node.flags = MenuOptions();
        }
      } else if (IsWord(keyword, "POPUP")) {
        Take();
        node.popup = true;
        node.text = Text();
        node.flags = MF_POPUP | MenuOptions();
        node.children = MenuItems(depth + 1);
        if (node.children.empty())
          FailAt(keyword, "the popup has no items");
      } else {
        Fail("expected MENUITEM or POPUP");
      }
      items.push_back(std::move(node));
    });
    return items;
  }

  // GRAYED, INACTIVE, CHECKED, MENUBREAK, MENUBARBREAK, after commas or blanks.
  WORD MenuOptions()
  {
    WORD flags = 0;
    const Token& line = t_.tokens[pos_ > 0 ? pos_ - 1 : 0];
    for (;;) {
      bool comma = TakePunct(',');
      const Token& option = Cur();
      if (option.kind != TokenKind::identifier || (!comma && !SameLine(option, line)))
        return flags;
      std::string word = Upper(option.text);
      WORD flag = word == "GRAYED" ? MF_GRAYED
                  : word == "INACTIVE" ? MF_DISABLED
                  : word == "CHECKED" ? MF_CHECKED
                  : word == "MENUBREAK" ? MF_MENUBREAK
                  : word == "MENUBARBREAK" ? MF_MENUBARBREAK
                  : 0;
      if (!flag) {
        if (!comma)
          return flags;
        FailAt(option, "unknown menu option " + option.text);
      }
      Take();
      flags |= flag;
    }
  }

  Tokens& t_;
  const FileReader& read_;
  ResourceSet& out_;
  size_t pos_ = 0;
  int defineDepth_ = 0;
  std::map<WORD, std::u16string> strings_;
};

}  // namespace

ResourceSet CompileResourceScripts(const std::vector<std::string>& scripts, const FileReader& read)
{
  Tokens tokens;
  for (const std::string& script : scripts)
    LexFile(script, read, tokens);
  FinishTokens(tokens);
  ResourceSet set;
  set.diagnostics = tokens.diagnostics;
  Compiler(tokens, read, set).Run();
  return set;
}

}  // namespace resources
