// Small growable containers of the class library: an array and a map of pairs kept in
// insertion order, looked up linearly. Elements are copied; indexes are ints.
#pragma once

#include <utility>
#include <vector>

#include "base/types.h"

template <class T>
class CSimpleArray {
 public:
  int GetSize() const { return static_cast<int>(m_items.size()); }
  BOOL Add(const T& item)
  {
    m_items.push_back(item);
    return TRUE;
  }
  // Removes the first element equal to the item.
  BOOL Remove(const T& item)
  {
    int index = Find(item);
    return index >= 0 ? RemoveAt(index) : FALSE;
  }
  BOOL RemoveAt(int index)
  {
    if (index < 0 || index >= GetSize())
      return FALSE;
    m_items.erase(m_items.begin() + index);
    return TRUE;
  }
  void RemoveAll() { m_items.clear(); }
  BOOL SetAtIndex(int index, const T& item)
  {
    if (index < 0 || index >= GetSize())
      return FALSE;
    m_items[static_cast<size_t>(index)] = item;
    return TRUE;
  }
  int Find(const T& item) const
  {
    for (int i = 0; i < GetSize(); ++i)
      if (m_items[static_cast<size_t>(i)] == item)
        return i;
    return -1;
  }
  T& operator[](int index) { return m_items.at(static_cast<size_t>(index)); }
  const T& operator[](int index) const { return m_items.at(static_cast<size_t>(index)); }
  T* GetData() { return m_items.data(); }

 private:
  std::vector<T> m_items;
};

template <class T>
using CSimpleValArray = CSimpleArray<T>;

template <class TKey, class TVal>
class CSimpleMap {
 public:
  int GetSize() const { return static_cast<int>(m_items.size()); }
  // Adds a pair (keys need not be unique; FindKey finds the first).
  BOOL Add(const TKey& key, const TVal& value)
  {
    m_items.emplace_back(key, value);
    return TRUE;
  }
  BOOL Remove(const TKey& key)
  {
    int index = FindKey(key);
    if (index < 0)
      return FALSE;
    m_items.erase(m_items.begin() + index);
    return TRUE;
  }
  void RemoveAll() { m_items.clear(); }
  // Replaces the value of the first pair with the key; FALSE when there is none.
  BOOL SetAt(const TKey& key, const TVal& value)
  {
    int index = FindKey(key);
    if (index < 0)
      return FALSE;
    m_items[static_cast<size_t>(index)].second = value;
    return TRUE;
  }
  // The value of the key, or a default value when it is missing.
  TVal Lookup(const TKey& key) const
  {
    int index = FindKey(key);
    return index < 0 ? TVal() : m_items[static_cast<size_t>(index)].second;
  }
  int FindKey(const TKey& key) const
  {
    for (int i = 0; i < GetSize(); ++i)
      if (m_items[static_cast<size_t>(i)].first == key)
        return i;
    return -1;
  }
  int FindVal(const TVal& value) const
  {
    for (int i = 0; i < GetSize(); ++i)
      if (m_items[static_cast<size_t>(i)].second == value)
        return i;
    return -1;
  }
  TKey& GetKeyAt(int index) { return m_items.at(static_cast<size_t>(index)).first; }
  TVal& GetValueAt(int index) { return m_items.at(static_cast<size_t>(index)).second; }

 private:
  std::vector<std::pair<TKey, TVal>> m_items;
};
