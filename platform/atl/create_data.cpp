// The objects whose windows are being created, per thread: a window's first message binds it
// to the innermost one.
#include <vector>

#include "atl/window_impl.h"

namespace {

thread_local std::vector<void*> t_creating;

}  // namespace

void AtlAddCreateWndData(void* object)
{
  t_creating.push_back(object);
}

void* AtlExtractCreateWndData()
{
  if (t_creating.empty())
    return nullptr;
  void* object = t_creating.back();
  t_creating.pop_back();
  return object;
}

void AtlRemoveCreateWndData(void* object)
{
  if (!t_creating.empty() && t_creating.back() == object)
    t_creating.pop_back();
}
