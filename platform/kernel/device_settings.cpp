#include "kernel/device_settings.h"

#include "kernel/device_root.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

namespace device {
namespace {

std::string_view Trim(std::string_view text)
{
  size_t start = text.find_first_not_of(" \t\r");
  if (start == std::string_view::npos) {
    return {};
  }
  return text.substr(start, text.find_last_not_of(" \t\r") - start + 1);
}

// A "#" at the start of a line or after a blank starts a comment; so does a leading ";".
std::string_view WithoutComment(std::string_view line)
{
  if (!line.empty() && line.front() == ';') {
    return {};
  }
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) {
      return line.substr(0, i);
    }
  }
  return line;
}

std::string Lower(std::string_view text)
{
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return lower;
}

std::optional<int> ParseNumber(std::string_view text, int low, int high)
{
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
    return std::nullopt;
  }
  return value;
}

std::optional<bool> ParseSwitch(std::string_view text)
{
  std::string word = Lower(text);
  if (word == "yes" || word == "on" || word == "true" || word == "1") {
    return true;
  }
  if (word == "no" || word == "off" || word == "false" || word == "0") {
    return false;
  }
  return std::nullopt;
}

// "{436EF144-B4FB-4863-A041-8F905A62C572}", braces optional.
std::optional<GUID> ParseGuid(std::string_view text)
{
  if (text.size() == 38 && text.front() == '{' && text.back() == '}') {
    text = text.substr(1, 36);
  }
  if (text.size() != 36 || text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-') {
    return std::nullopt;
  }
  auto hex = [&](size_t at, size_t digits, uint64_t& value) {
    auto [end, error] = std::from_chars(text.data() + at, text.data() + at + digits, value, 16);
    return error == std::errc() && end == text.data() + at + digits;
  };
  uint64_t data1, data2, data3, clock, node;
  if (!hex(0, 8, data1) || !hex(9, 4, data2) || !hex(14, 4, data3) || !hex(19, 4, clock) || !hex(24, 12, node)) {
    return std::nullopt;
  }
  GUID guid{static_cast<uint32_t>(data1), static_cast<uint16_t>(data2), static_cast<uint16_t>(data3), {}};
  guid.Data4[0] = static_cast<uint8_t>(clock >> 8);
  guid.Data4[1] = static_cast<uint8_t>(clock);
  for (int i = 0; i < 6; ++i) {
    guid.Data4[2 + i] = static_cast<uint8_t>(node >> (8 * (5 - i)));
  }
  return guid;
}

std::vector<std::string> SplitWords(std::string_view text)
{
  std::vector<std::string> words;
  std::istringstream stream{std::string(text)};
  for (std::string word; stream >> word;) {
    words.push_back(word);
  }
  return words;
}

// Reads the lines of one section into the settings.
class Parser {
 public:
  explicit Parser(std::vector<std::string>& problems) : problems_(problems) {}

  DeviceSettings Parse(std::string_view text)
  {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {  // a byte-order mark some editors write
      text.remove_prefix(3);
    }
    for (size_t start = 0, number = 1; start < text.size(); ++number) {
      size_t end = text.find('\n', start);
      if (end == std::string_view::npos) {
        end = text.size();
      }
      line_ = number;
      Line(Trim(WithoutComment(text.substr(start, end - start))));
      start = end + 1;
    }
    EndSection();
    return std::move(settings_);
  }

 private:
  enum class Section { None, Screen, Phone, Connection, Contact, Network, Browser, MessageBox, Unknown };

  void Problem(const std::string& what) { problems_.push_back("line " + std::to_string(line_) + ": " + what); }

  void Line(std::string_view line)
  {
    if (line.empty()) {
      return;
    }
    if (line.front() == '[') {
      if (line.back() != ']') {
        Problem("a section header ends with ']'");
        return;
      }
      EndSection();
      StartSection(Lower(Trim(line.substr(1, line.size() - 2))));
      return;
    }
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      Problem("expected \"key = value\"");
      return;
    }
    std::string key = Lower(Trim(line.substr(0, equals)));
    std::string_view value = Trim(line.substr(equals + 1));
    if (section_ == Section::None) {
      Problem("\"" + key + "\" stands before the first section");
    } else if (section_ != Section::Unknown) {
      Value(key, value);
    }
  }

  void StartSection(const std::string& name)
  {
    static const std::map<std::string, Section> sections = {
        {"screen", Section::Screen},   {"phone", Section::Phone},     {"connection", Section::Connection},
        {"contact", Section::Contact}, {"network", Section::Network}, {"browser", Section::Browser},
        {"messagebox", Section::MessageBox},
    };
    auto found = sections.find(name);
    section_ = found == sections.end() ? Section::Unknown : found->second;
    if (section_ == Section::Unknown) {
      Problem("unknown section [" + name + "]");
    }
    if (section_ == Section::Phone && !settings_.phone) {
      settings_.phone.emplace();
    }
    connection_ = DataConnection{};
    hasDestination_ = false;
    contact_ = PhoneContact{};
    sectionLine_ = line_;
  }

  // A connection or contact joins the list once its section is complete.
  void EndSection()
  {
    size_t line = line_;
    line_ = sectionLine_;
    if (section_ == Section::Connection) {
      if (connection_.name.empty() || !hasDestination_) {
        Problem("a [connection] needs a name and a destination; it is left out");
      } else {
        settings_.connections.push_back(connection_);
      }
    } else if (section_ == Section::Contact) {
      if (contact_.name.empty() || contact_.mobile.empty()) {
        Problem("a [contact] needs a name and a mobile number; it is left out");
      } else {
        settings_.contacts.push_back(contact_);
      }
    }
    line_ = line;
    section_ = Section::None;
  }

  std::optional<std::u16string> Text(std::string_view value)
  {
    std::optional<std::u16string> text = FromHost(value);
    if (!text) {
      Problem("the value is not UTF-8");
    }
    return text;
  }

  void Value(const std::string& key, std::string_view value)
  {
    bool known = true;
    switch (section_) {
      case Section::Screen:
        if (key == "width" || key == "height") {
          std::optional<int> size = ParseNumber(value, 1, 8192);
          if (!size) {
            Problem("the screen " + key + " is a number of pixels from 1 to 8192");
          } else {
            (key == "width" ? settings_.screen.width : settings_.screen.height) = *size;
          }
        } else {
          known = false;
        }
        break;
      case Section::Phone: {
        static const std::map<std::string, std::optional<std::u16string> PhoneIdentity::*> fields = {
            {"manufacturer", &PhoneIdentity::manufacturer}, {"model", &PhoneIdentity::model},
            {"revision", &PhoneIdentity::revision},         {"imei", &PhoneIdentity::serialNumber},
            {"imsi", &PhoneIdentity::subscriberNumber},
        };
        auto field = fields.find(key);
        known = field != fields.end();
        if (known && !value.empty()) {
          (*settings_.phone).*(field->second) = Text(value);
        }
        break;
      }
      case Section::Connection:
        if (key == "destination") {
          std::optional<GUID> guid = ParseGuid(value);
          hasDestination_ = guid.has_value();
          if (guid) {
            connection_.destination = *guid;
          } else {
            Problem("a destination is a GUID such as {436EF144-B4FB-4863-A041-8F905A62C572}");
          }
        } else if (key == "name" || key == "apn" || key == "proxy") {
          std::u16string& field = key == "name" ? connection_.name : key == "apn" ? connection_.apn : connection_.proxy;
          field = Text(value).value_or(u"");
        } else {
          known = false;
        }
        break;
      case Section::Contact:
        if (key == "name" || key == "mobile") {
          (key == "name" ? contact_.name : contact_.mobile) = Text(value).value_or(u"");
        } else {
          known = false;
        }
        break;
      case Section::Network:
        if (key == "ca_bundle") {
          settings_.caBundle = value;
        } else if (key == "gateway") {
          settings_.gateway = value;
        } else if (key == "connect_timeout" || key == "stall_timeout") {
          std::optional<int> seconds = ParseNumber(value, 1, 3600);
          if (!seconds) {
            Problem("the " + key + " is a number of seconds from 1 to 3600");
          } else {
            (key == "connect_timeout" ? settings_.connectTimeout : settings_.stallTimeout) = *seconds;
          }
        } else if (key == "debug_insecure_tls") {
          std::optional<bool> on = ParseSwitch(value);
          if (!on) {
            Problem("debug_insecure_tls is yes or no");
          } else {
            settings_.debugInsecureTls = *on;
          }
        } else {
          known = false;
        }
        break;
      case Section::Browser:
        if (key == "command") {
          settings_.browserCommand = SplitWords(value);
        } else {
          known = false;
        }
        break;
      case Section::MessageBox:
        if (key == "answer") {
          static const std::map<std::string, DeviceSettings::BoxAnswer> answers = {
              {"show", DeviceSettings::BoxAnswer::shown},
              {"default", DeviceSettings::BoxAnswer::defaultButton},
              {"yes", DeviceSettings::BoxAnswer::yes},
              {"no", DeviceSettings::BoxAnswer::no},
          };
          auto answer = answers.find(Lower(value));
          if (answer == answers.end()) {
            Problem("a message box answer is show, default, yes or no");
          } else {
            settings_.messageBoxAnswer = answer->second;
          }
        } else {
          known = false;
        }
        break;
      case Section::None:
      case Section::Unknown:
        break;
    }
    if (!known) {
      Problem("unknown key \"" + key + "\"");
    }
  }

  std::vector<std::string>& problems_;
  DeviceSettings settings_;
  Section section_ = Section::None;
  size_t line_ = 0;
  size_t sectionLine_ = 0;
  DataConnection connection_;
  bool hasDestination_ = false;
  PhoneContact contact_;
};

DeviceSettings Load(const std::string& root)
{
  std::string path = root + "/device.ini";
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    return DeviceSettings{};
  }
  std::ostringstream text;
  text << file.rdbuf();
  std::vector<std::string> problems;
  DeviceSettings settings = ParseDeviceSettings(text.str(), problems);
  for (const std::string& problem : problems) {
    fprintf(stderr, "%s: %s\n", path.c_str(), problem.c_str());
  }
  // A relative CA bundle lies in the device root.
  if (!settings.caBundle.empty() && settings.caBundle.front() != '/') {
    settings.caBundle = root + "/" + settings.caBundle;
  }
  return settings;
}

}  // namespace

DeviceSettings ParseDeviceSettings(std::string_view text, std::vector<std::string>& problems)
{
  return Parser(problems).Parse(text);
}

const DeviceSettings& Settings()
{
  static std::mutex mutex;
  static std::map<std::string, DeviceSettings>* byRoot = new std::map<std::string, DeviceSettings>;
  std::string root = RootPath();
  std::lock_guard lock(mutex);
  auto found = byRoot->find(root);
  if (found == byRoot->end()) {
    found = byRoot->emplace(root, Load(root)).first;
  }
  return found->second;
}

}  // namespace device
