#include "command_line.h"

#include <vector>

#include "kernel/device_root.h"

namespace install {
namespace {

// The words of the line; nothing when a quote is not closed.
std::optional<std::vector<std::u16string>> Words(std::u16string_view line)
{
  std::vector<std::u16string> words;
  std::u16string word;
  bool quoted = false, inWord = false;
  for (char16_t c : line) {
    if (c == u'"') {
      quoted = !quoted;
      inWord = true;
    } else if ((c == u' ' || c == u'\t') && !quoted) {
      if (inWord)
        words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (quoted)
    return std::nullopt;
  if (inWord)
    words.push_back(std::move(word));
  return words;
}

bool IsFlag(const std::u16string& word, std::u16string_view flag)
{
  return device::SameName(word, flag);
}

}  // namespace

std::optional<InstallerCommand> ParseCommandLine(std::u16string_view line)
{
  std::optional<std::vector<std::u16string>> words = Words(line);
  if (!words)
    return std::nullopt;
  InstallerCommand command;
  bool deleteGiven = false, haveTarget = false;
  for (size_t i = 0; i < words->size(); ++i) {
    const std::u16string& word = (*words)[i];
    bool hasNext = i + 1 < words->size();
    if (IsFlag(word, u"/silent") && !command.silent) {
      command.silent = true;
    } else if (IsFlag(word, u"/delete") && !deleteGiven && hasNext &&
               ((*words)[i + 1] == u"0" || (*words)[i + 1] == u"1")) {
      command.deletePackage = (*words)[++i] == u"1";
      deleteGiven = true;
    } else if (IsFlag(word, u"/uninstall") && !haveTarget && hasNext && !(*words)[i + 1].empty()) {
      command.uninstall = true;
      command.target = (*words)[++i];
      haveTarget = true;
    } else if (!haveTarget && !word.empty() && word.front() != u'/') {
      command.target = word;
      haveTarget = true;
    } else {
      return std::nullopt;
    }
  }
  if (!haveTarget || (command.uninstall && deleteGiven))
    return std::nullopt;
  return command;
}

}  // namespace install
