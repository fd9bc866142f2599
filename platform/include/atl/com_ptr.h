// CComPtr: a reference-counted interface pointer (AddRef on copy, Release when dropped).
#pragma once

#include <memory>
#include <utility>

#include "base/unknown.h"

template <class T>
class CComPtr {
 public:
  T* p = nullptr;

  CComPtr() = default;
  CComPtr(T* pointer) : p(pointer)
  {
    if (p)
      p->AddRef();
  }
  CComPtr(const CComPtr& other) : CComPtr(other.p) {}
  CComPtr(CComPtr&& other) noexcept : p(std::exchange(other.p, nullptr)) {}
  ~CComPtr() { Release(); }
  CComPtr& operator=(T* pointer)
  {
    if (pointer != p) {
      if (pointer)
        pointer->AddRef();
      Release();
      p = pointer;
    }
    return *this;
  }
  CComPtr& operator=(const CComPtr& other) { return *this = other.p; }
  CComPtr& operator=(CComPtr&& other) noexcept
  {
    if (this != std::addressof(other)) {  // operator& is the out-parameter's
      Release();
      p = std::exchange(other.p, nullptr);
    }
    return *this;
  }

  operator T*() const { return p; }
  T* operator->() const { return p; }
  // For an out-parameter: the pointer must be empty.
  T** operator&() { return &p; }
  bool operator!() const { return p == nullptr; }

  void Release()
  {
    if (T* old = std::exchange(p, nullptr))
      old->Release();
  }
  // Takes a pointer whose reference the caller hands over.
  void Attach(T* pointer)
  {
    Release();
    p = pointer;
  }
  T* Detach() { return std::exchange(p, nullptr); }
};
