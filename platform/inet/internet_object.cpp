#include "internet_object.h"

#include <algorithm>

namespace inet {

HINTERNET InternetObject::Insert(std::shared_ptr<InternetObject> object, InternetObject* parent)
{
  HINTERNET handle = kernel::InsertHandle(object);
  if (!handle) {
    return nullptr;
  }
  object->handle_ = handle;
  if (parent) {
    object->parent_ = parent->weak_from_this();
    std::lock_guard lock(parent->childrenMutex_);
    parent->children_.push_back(handle);
  }
  return handle;
}

void InternetObject::Close()
{
  std::vector<HINTERNET> children;
  {
    std::lock_guard lock(childrenMutex_);
    children.swap(children_);
  }
  for (HINTERNET child : children) {
    std::shared_ptr<InternetObject> object = std::dynamic_pointer_cast<InternetObject>(kernel::RemoveHandle(child));
    if (object) {
      object->Close();
    }
  }
  if (std::shared_ptr<InternetObject> parent = parent_.lock()) {
    parent->ForgetChild(handle_);
  }
  OnClose();
}

void InternetObject::ForgetChild(HINTERNET child)
{
  std::lock_guard lock(childrenMutex_);
  std::erase(children_, child);
}

}  // namespace inet
