// Paths that name a node by member names and bracketed indexes, such as ".a.b[2]", with "[%]"
// and "%" as placeholders for supplied index and name arguments.
#pragma once

#include <string>
#include <vector>

#include "json/value.h"

namespace Json {

class PathArgument {
public:
  enum Kind { kindNone = 0, kindIndex, kindKey };

  PathArgument() : index_(0), kind_(kindNone) {}
  PathArgument(UInt index) : index_(index), kind_(kindIndex) {}
  PathArgument(int index) : index_(static_cast<UInt>(index)), kind_(kindIndex) {}
  PathArgument(const WCHAR* key) : key_(key != nullptr ? key : u""), index_(0), kind_(kindKey) {}
  PathArgument(const std::u16string& key) : key_(key.c_str()), index_(0), kind_(kindKey) {}

  const std::u16string& key() const { return key_; }
  UInt index() const { return index_; }
  Kind kind() const { return kind_; }

private:
  std::u16string key_;
  UInt index_;
  Kind kind_;
};

class Path {
public:
  // Placeholders take the supplied arguments in order; one of the wrong kind, or none left,
  // adds no step.
  explicit Path(const std::u16string& path, const PathArgument& a1 = PathArgument(),
                const PathArgument& a2 = PathArgument(), const PathArgument& a3 = PathArgument(),
                const PathArgument& a4 = PathArgument(), const PathArgument& a5 = PathArgument());

  // Read-only walk: Value::null once a step finds nothing.
  const Value& resolve(const Value& root) const;
  // A copy of the node, or of defaultValue when a step finds nothing.
  Value resolve(const Value& root, const Value& defaultValue) const;
  // Growing walk: missing elements and members are created.
  Value& make(Value& root) const;

  const std::vector<PathArgument>& arguments() const { return args_; }

private:
  std::vector<PathArgument> args_;
};

}  // namespace Json
