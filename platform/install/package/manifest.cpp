#include "manifest.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <set>
#include <sstream>

namespace install {
namespace {

std::string_view Trim(std::string_view text)
{
  size_t start = text.find_first_not_of(" \t\r");
  if (start == std::string_view::npos)
    return {};
  return text.substr(start, text.find_last_not_of(" \t\r") - start + 1);
}

std::string Folded(std::string_view text)
{
  std::string folded(text);
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  return folded;
}

bool HasControlCharacter(std::string_view text)
{
  for (unsigned char c : text)
    if (c < 0x20 || c == 0x7F)
      return true;
  return false;
}

// One section's keys and values, with the line each came from.
struct Section {
  std::string name;
  size_t line = 0;
  std::map<std::string, std::pair<std::string, size_t>> entries;
};

class SectionReader {
 public:
  SectionReader(const Section& section, std::string* problem) : section_(section), problem_(problem) {}

  bool Fail(size_t line, const std::string& what)
  {
    if (problem_->empty())
      *problem_ = "line " + std::to_string(line) + ": " + what;
    return false;
  }
  bool Fail(const std::string& what) { return Fail(section_.line, "[" + section_.name + "] " + what); }

  bool Has(const std::string& key) const { return section_.entries.contains(key); }

  bool Text(const std::string& key, std::string& out, bool required = true)
  {
    auto found = section_.entries.find(key);
    if (found == section_.entries.end())
      return !required || Fail("has no " + key);
    out = found->second.first;
    return true;
  }

  // A device path: a backslash first, no control characters.
  bool Path(const std::string& key, std::string& out, bool required = true)
  {
    if (!Text(key, out, required))
      return false;
    if (!Has(key))
      return true;
    if (out.size() < 2 || out.front() != '\\' || HasControlCharacter(out))
      return Fail(section_.entries.at(key).second, key + " \"" + out + "\" is not a device path");
    return true;
  }

  template <typename Number>
  bool Count(const std::string& key, Number& out, bool required = true, uint64_t high = UINT32_MAX)
  {
    std::string text;
    if (!Text(key, text, required))
      return false;
    if (!Has(key))
      return true;
    uint64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > high)
      return Fail(section_.entries.at(key).second, key + " \"" + text + "\" is not a number up to " +
                                                       std::to_string(high));
    out = static_cast<Number>(value);
    return true;
  }

  bool Switch(const std::string& key, bool& out)
  {
    std::string text;
    if (!Text(key, text))
      return false;
    if (text != "yes" && text != "no")
      return Fail(section_.entries.at(key).second, key + " is neither yes nor no");
    out = text == "yes";
    return true;
  }

  // Every key of the section must be one of these.
  bool OnlyKeys(std::initializer_list<std::string_view> keys)
  {
    for (const auto& [key, entry] : section_.entries)
      if (std::find(keys.begin(), keys.end(), key) == keys.end())
        return Fail(entry.second, "[" + section_.name + "] has no key \"" + key + "\"");
    return true;
  }

 private:
  const Section& section_;
  std::string* problem_;
};

bool ReadSections(std::string_view text, std::vector<Section>& sections, std::string* problem)
{
  size_t number = 0;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos)
      end = text.size();
    std::string_view line = Trim(text.substr(start, end - start));
    start = end + 1;
    ++number;
    if (line.empty() || line.front() == '#')
      continue;
    auto fail = [&](const std::string& what) {
      *problem = "line " + std::to_string(number) + ": " + what;
      return false;
    };
    if (line.front() == '[') {
      if (line.back() != ']')
        return fail("a section line without its \"]\"");
      sections.push_back({std::string(line.substr(1, line.size() - 2)), number, {}});
      continue;
    }
    size_t equals = line.find('=');
    if (equals == std::string_view::npos)
      return fail("neither a section nor \"key = value\"");
    if (sections.empty())
      return fail("a value before the first section");
    std::string key(Trim(line.substr(0, equals)));
    std::string value(Trim(line.substr(equals + 1)));
    if (!sections.back().entries.emplace(key, std::pair(value, number)).second)
      return fail("\"" + key + "\" is given twice");
  }
  return true;
}

bool ReadPackage(SectionReader& reader, PackageManifest& manifest)
{
  std::string format;
  if (!reader.OnlyKeys({"format", "name", "folder", "setup"}) || !reader.Text("format", format) ||
      !reader.Text("name", manifest.name) || !reader.Path("folder", manifest.folder) ||
      !reader.Path("setup", manifest.setup, false))
    return false;
  if (format != "1")
    return reader.Fail("format " + format + " is not known");
  if (manifest.name.empty() || manifest.name.size() > 255 || manifest.name.find('\\') != std::string::npos ||
      HasControlCharacter(manifest.name))
    return reader.Fail("name \"" + manifest.name + "\" cannot name a package");
  return true;
}

bool ReadFile(SectionReader& reader, ManifestKind kind, PackageFile& file)
{
  if (!reader.Path("path", file.path))
    return false;
  if (Folded(file.path) == Folded(std::string("\\") + kManifestName))
    return reader.Fail("path " + file.path + " is the manifest's own name");
  if (kind == ManifestKind::description)
    return reader.OnlyKeys({"path", "source"}) && reader.Text("source", file.source);
  if (!reader.OnlyKeys({"path", "size", "sha256", "program"}) || !reader.Count("size", file.size, true, UINT64_MAX) ||
      !reader.Text("sha256", file.sha256) || !reader.Switch("program", file.program))
    return false;
  if (file.sha256.size() != 64 || file.sha256.find_first_not_of("0123456789abcdef") != std::string::npos)
    return reader.Fail("sha256 is not 64 lower-case hex digits");
  return true;
}

bool ReadService(SectionReader& reader, PackageService& service)
{
  if (!reader.OnlyKeys({"key", "library", "prefix", "index", "context", "keep", "folder", "port"}) ||
      !reader.Text("key", service.key) || !reader.Path("library", service.library) ||
      !reader.Text("prefix", service.prefix) || !reader.Count("index", service.index, false) ||
      !reader.Count("context", service.context, false) || !reader.Count("keep", service.keep, false) ||
      !reader.Path("folder", service.folder, false) || !reader.Count("port", service.port, false, 0xFFFF))
    return false;
  if (service.key.empty() || service.key.find('\\') != std::string::npos || HasControlCharacter(service.key))
    return reader.Fail("key \"" + service.key + "\" cannot name a service");
  if (service.prefix.size() != 3)
    return reader.Fail("prefix \"" + service.prefix + "\" is not three characters");
  return true;
}

bool ReadValue(SectionReader& reader, PackageValue& value)
{
  if (!reader.OnlyKeys({"key", "name", "sz", "dword"}) || !reader.Text("key", value.key) ||
      !reader.Text("name", value.name))
    return false;
  if (!value.key.starts_with("HKEY_LOCAL_MACHINE\\") && !value.key.starts_with("HKEY_CURRENT_USER\\"))
    return reader.Fail("key \"" + value.key + "\" is not below HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER");
  if (value.key.ends_with('\\') || value.key.find("\\\\") != std::string::npos || HasControlCharacter(value.key))
    return reader.Fail("key \"" + value.key + "\" has an empty name in it");
  if (value.name.find('\\') != std::string::npos || HasControlCharacter(value.name))
    return reader.Fail("name \"" + value.name + "\" cannot name a value");
  if (reader.Has("sz") == reader.Has("dword"))
    return reader.Fail("needs one of sz and dword");
  value.isNumber = reader.Has("dword");
  return value.isNumber ? reader.Count("dword", value.number) : reader.Text("sz", value.text);
}

}  // namespace

std::optional<PackageManifest> ParseManifest(std::string_view text, ManifestKind kind, std::string* problem)
{
  problem->clear();
  std::vector<Section> sections;
  if (!ReadSections(text, sections, problem))
    return std::nullopt;
  if (sections.empty() || sections.front().name != "package") {
    *problem = "the first section is not [package]";
    return std::nullopt;
  }
  PackageManifest manifest;
  std::set<std::string> paths;
  for (const Section& section : sections) {
    SectionReader reader(section, problem);
    bool read = false;
    if (section.name == "package") {
      read = &section == &sections.front() ? ReadPackage(reader, manifest) : reader.Fail("is given twice");
    } else if (section.name == "file") {
      read = ReadFile(reader, kind, manifest.files.emplace_back());
      if (read && !paths.insert(Folded(manifest.files.back().path)).second)
        read = reader.Fail("path \"" + manifest.files.back().path + "\" is installed twice");
    } else if (section.name == "service") {
      read = ReadService(reader, manifest.services.emplace_back());
    } else if (section.name == "value") {
      read = ReadValue(reader, manifest.values.emplace_back());
    } else {
      read = reader.Fail("is not a section of a package");
    }
    if (!read)
      return std::nullopt;
  }
  if (!manifest.setup.empty() && !paths.contains(Folded(manifest.setup))) {
    *problem = "the setup library " + manifest.setup + " is not one of the package's files";
    return std::nullopt;
  }
  return manifest;
}

std::string WriteManifest(const PackageManifest& manifest)
{
  std::ostringstream out;
  out << "[package]\nformat = 1\nname = " << manifest.name << "\nfolder = " << manifest.folder << "\n";
  if (!manifest.setup.empty())
    out << "setup = " << manifest.setup << "\n";
  for (const PackageFile& file : manifest.files)
    out << "\n[file]\npath = " << file.path << "\nsize = " << file.size << "\nsha256 = " << file.sha256
        << "\nprogram = " << (file.program ? "yes" : "no") << "\n";
  for (const PackageService& service : manifest.services) {
    out << "\n[service]\nkey = " << service.key << "\nlibrary = " << service.library << "\nprefix = " << service.prefix
        << "\nindex = " << service.index << "\ncontext = " << service.context << "\nkeep = " << service.keep << "\n";
    if (!service.folder.empty())
      out << "folder = " << service.folder << "\n";
    if (service.port != 0)
      out << "port = " << service.port << "\n";
  }
  for (const PackageValue& value : manifest.values) {
    out << "\n[value]\nkey = " << value.key << "\nname = " << value.name << "\n";
    if (value.isNumber)
      out << "dword = " << value.number << "\n";
    else
      out << "sz = " << value.text << "\n";
  }
  return out.str();
}

std::string CabinetName(const PackageFile& file)
{
  return file.path.substr(1);
}

}  // namespace install
