// Reading a path text into steps, and walking a value along them.
#include "json/path.h"

namespace Json {

Path::Path(const std::u16string& path, const PathArgument& a1, const PathArgument& a2, const PathArgument& a3,
           const PathArgument& a4, const PathArgument& a5)
{
  const PathArgument* supplied[] = {&a1, &a2, &a3, &a4, &a5};
  size_t nextSupplied = 0;
  auto addPlaceholder = [&](PathArgument::Kind kind) {
    if (nextSupplied < 5) {
      const PathArgument& argument = *supplied[nextSupplied++];
      if (argument.kind() == kind) {
        args_.push_back(argument);
      }
    }
  };

  const WCHAR* current = path.data();
  const WCHAR* end = current + path.size();
  while (current != end) {
    WCHAR c = *current;
    if (c == u'[') {
      ++current;
      if (current != end && *current == u'%') {
        addPlaceholder(PathArgument::kindIndex);
        current += (end - current >= 2) ? 2 : 1;  // the '%' and the closing bracket
      } else {
        UInt index = 0;
        for (; current != end && *current >= u'0' && *current <= u'9'; ++current) {
          index = index * 10 + static_cast<UInt>(*current - u'0');
        }
        if (current != end) {
          ++current;  // the closing bracket
        }
        args_.push_back(PathArgument(index));
      }
    } else if (c == u'%') {
      addPlaceholder(PathArgument::kindKey);
      ++current;
    } else if (c == u'.') {
      ++current;
    } else {
      const WCHAR* nameStart = current;
      while (current != end && *current != u'[' && *current != u'.') {
        ++current;
      }
      args_.push_back(PathArgument(std::u16string(nameStart, current)));
    }
  }
}

const Value& Path::resolve(const Value& root) const
{
  const Value* node = &root;
  for (const PathArgument& arg : args_) {
    node = arg.kind() == PathArgument::kindIndex ? &(*node)[arg.index()] : &(*node)[arg.key()];
  }
  return *node;
}

Value Path::resolve(const Value& root, const Value& defaultValue) const
{
  const Value* node = &root;
  for (const PathArgument& arg : args_) {
    if (arg.kind() == PathArgument::kindIndex) {
      if (!node->isArray() || !node->isValidIndex(arg.index())) {
        return defaultValue;
      }
      node = &(*node)[arg.index()];
    } else {
      if (!node->isObject() || !node->isMember(arg.key())) {
        return defaultValue;
      }
      node = &(*node)[arg.key()];
    }
  }
  return *node;
}

Value& Path::make(Value& root) const
{
  Value* node = &root;
  for (const PathArgument& arg : args_) {
    node = arg.kind() == PathArgument::kindIndex ? &(*node)[arg.index()] : &(*node)[arg.key()];
  }
  return *node;
}

}  // namespace Json
