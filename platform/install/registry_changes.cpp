#include "registry_changes.h"

#include "base/errors.h"
#include <fstream>
#include <iterator>

#include "device_store.h"
#include "registry_file.h"

namespace install {

registry::KeyPath SplitKey(std::u16string_view key)
{
  registry::KeyPath names;
  for (size_t start = 0;;) {
    size_t end = key.find(u'\\', start);
    std::u16string_view name = key.substr(start, end == std::u16string_view::npos ? end : end - start);
    if (name.empty())
      return {};
    names.emplace_back(name);
    if (end == std::u16string_view::npos)
      return names;
    start = end + 1;
  }
}

LONG RegistrySnapshot::Take()
{
  return registry::DeviceStore().Read([this](const registry::Tree& tree) {
    tree_ = tree;
    return ERROR_SUCCESS;
  });
}

bool RegistrySnapshot::Save(const std::string& hostPath) const
{
  std::ofstream out(hostPath, std::ios::binary | std::ios::trunc);
  return static_cast<bool>((out << registry::SerializeTree(tree_)).flush());
}

bool RegistrySnapshot::Load(const std::string& hostPath)
{
  std::ifstream in(hostPath, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return in && registry::ParseTree(text, tree_);
}

std::u16string RegistrySnapshot::OutermostMissing(std::u16string_view key) const
{
  registry::KeyPath path;
  std::u16string text;
  for (const std::u16string& name : SplitKey(key)) {
    path.push_back(name);
    text += (text.empty() ? u"" : u"\\") + name;
    if (!tree_.Find(path))
      return text;
  }
  return u"";
}

LONG RegistrySnapshot::Restore(const std::vector<std::u16string>& keys) const
{
  return registry::DeviceStore().Write([&](registry::Tree& tree, bool& changed) {
    for (const std::u16string& key : keys) {
      registry::KeyPath path = SplitKey(key);
      if (path.size() < 2)
        continue;
      const registry::Key* before = tree_.Find(path);
      std::u16string name = path.back();
      path.pop_back();
      registry::Key* parent = &tree.Root();
      for (const std::u16string& each : path) {
        registry::Key* next = parent->FindSubkey(each);
        if (!next && before)
          next = &parent->AddSubkey(each);
        parent = next;
        if (!parent)
          break;  // missing now and then: nothing to put back
      }
      if (!parent)
        continue;
      if (before)
        parent->AddSubkey(name) = *before;
      else
        parent->RemoveSubkey(name);
      changed = true;
    }
    return ERROR_SUCCESS;
  });
}

LONG RemoveFromRegistry(const std::vector<std::u16string>& keys, const std::vector<std::u16string>& values)
{
  return registry::DeviceStore().Write([&](registry::Tree& tree, bool& changed) {
    for (const std::u16string& value : values) {
      size_t slash = value.rfind(u'\\');
      registry::Key* key = slash == std::u16string::npos ? nullptr : tree.Find(SplitKey(value.substr(0, slash)));
      if (key && key->RemoveValue(value.substr(slash + 1)))
        changed = true;
    }
    for (const std::u16string& each : keys) {
      registry::KeyPath path = SplitKey(each);
      if (path.size() < 2)
        continue;
      std::u16string name = path.back();
      path.pop_back();
      registry::Key* parent = tree.Find(path);
      if (parent && parent->RemoveSubkey(name))
        changed = true;
    }
    return ERROR_SUCCESS;
  });
}

}  // namespace install
