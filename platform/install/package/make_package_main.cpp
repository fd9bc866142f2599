// The build step that makes a package: kv-package <description> <package> [<depfile>]
//
// Reads the package description (manifest.h: files with their host sources), takes in each
// source file, or every file below a source folder (a resource library), and writes the
// package's cabinet with the manifest of what it holds. With a depfile, also writes the host
// files it read there, for the build to remake the package when one changes.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "package.h"

namespace {

namespace fs = std::filesystem;

std::optional<std::vector<uint8_t>> ReadHostFile(const fs::path& path)
{
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return std::nullopt;
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad())
    return std::nullopt;
  return bytes;
}

bool IsRunnable(const fs::path& path)
{
  return (fs::status(path).permissions() & fs::perms::owner_exec) != fs::perms::none;
}

// The files a source stands for, each with its device path: the file itself at the given
// path, or every file of a folder (in name order) below the given path.
std::vector<std::pair<fs::path, std::string>> Expand(const install::PackageFile& file)
{
  fs::path source = file.source;
  if (!fs::is_directory(source))
    return {{source, file.path}};
  std::vector<std::pair<fs::path, std::string>> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(source)) {
    if (!entry.is_regular_file())
      continue;
    std::string relative = fs::relative(entry.path(), source).generic_string();
    std::replace(relative.begin(), relative.end(), '/', '\\');
    files.emplace_back(entry.path(), file.path + "\\" + relative);
  }
  std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
  return files;
}

// Blanks and other specials escaped as a depfile wants them.
std::string DepfilePath(const std::string& path)
{
  std::string escaped;
  for (char c : path) {
    if (c == ' ' || c == '#' || c == '\\')
      escaped += '\\';
    if (c == '$')
      escaped += '$';
    escaped += c;
  }
  return escaped;
}

int Fail(const std::string& what)
{
  std::fprintf(stderr, "kv-package: %s\n", what.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc != 3 && argc != 4)
    return Fail("usage: kv-package <description> <package> [<depfile>]");
  std::optional<std::vector<uint8_t>> text = ReadHostFile(argv[1]);
  if (!text)
    return Fail(std::string("cannot read ") + argv[1]);
  std::string problem;
  std::optional<install::PackageManifest> description = install::ParseManifest(
      std::string_view(reinterpret_cast<const char*>(text->data()), text->size()), install::ManifestKind::description,
      &problem);
  if (!description)
    return Fail(std::string(argv[1]) + ": " + problem);

  install::Package package{*description, {}};
  package.manifest.files.clear();
  std::vector<std::string> inputs{argv[1]};
  for (const install::PackageFile& item : description->files) {
    std::vector<std::pair<fs::path, std::string>> files = Expand(item);
    if (files.empty())
      return Fail(item.source + " holds no files");
    for (const auto& [source, path] : files) {
      std::optional<std::vector<uint8_t>> bytes = ReadHostFile(source);
      if (!bytes)
        return Fail("cannot read " + source.string());
      package.manifest.files.push_back({path, "", 0, "", IsRunnable(source)});
      package.contents.push_back(std::move(*bytes));
      inputs.push_back(source.string());
    }
  }
  if (!install::WritePackage(argv[2], package, &problem))
    return Fail(std::string(argv[2]) + ": " + problem);

  if (argc == 4) {
    std::ostringstream depfile;
    depfile << DepfilePath(argv[2]) << ":";
    for (const std::string& input : inputs)
      depfile << " \\\n  " << DepfilePath(input);
    depfile << "\n";
    std::ofstream(argv[3], std::ios::binary) << depfile.str();
  }
  return 0;
}
