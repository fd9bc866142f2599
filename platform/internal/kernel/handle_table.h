// The process's handle table. A handle is a slot index and the slot's generation, so a handle
// that was closed never reaches an object that later takes the same slot.
#pragma once

#include "base/errors.h"
#include "base/lasterror.h"
#include "base/types.h"
#include "kernel/object.h"

#include <memory>

namespace kernel {

// Adds an object; returns its new handle, or NULL (ERROR_NOT_ENOUGH_MEMORY) when the table is full.
HANDLE InsertHandle(std::shared_ptr<Object> object);

// The object a handle names, or null for a closed, stale or foreign value.
std::shared_ptr<Object> LookupHandle(HANDLE handle);

// Removes a handle; returns the object it named, or null when it named none.
std::shared_ptr<Object> RemoveHandle(HANDLE handle);

// The object a handle names when it is a T; otherwise sets ERROR_INVALID_HANDLE and returns null.
template <class T>
std::shared_ptr<T> LookupHandleAs(HANDLE handle)
{
  std::shared_ptr<T> object = std::dynamic_pointer_cast<T>(LookupHandle(handle));
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
  }
  return object;
}

}  // namespace kernel
