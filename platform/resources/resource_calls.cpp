// FindResource, LoadResource, LockResource and SizeofResource over the compiled libraries.
#include "base/errors.h"
#include "base/lasterror.h"
#include "resource_library.h"
#include "resources/resource.h"

using namespace resources;

namespace {

// The resource a handle names when it belongs to the module's library.
const Resource* ResourceOf(HMODULE module, HRSRC handle)
{
  const ResourceSet* set = LibraryResources(module);
  auto* resource = reinterpret_cast<const Resource*>(handle);
  if (!set || !IsKnownResource(resource))
    return nullptr;
  for (const Resource& candidate : set->resources)
    if (&candidate == resource)
      return resource;
  return nullptr;
}

const BYTE kNoBytes[1] = {0};

}  // namespace

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type)
{
  if (!name || !type) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const ResourceSet* set = LibraryResources(module);
  if (!set)
    return nullptr;
  ResourceId wantedType = ResourceId::FromArgument(type);
  if (const Resource* found = set->Find(wantedType, ResourceId::FromArgument(name)))
    return reinterpret_cast<HRSRC>(const_cast<Resource*>(found));
  bool typeKnown = false;
  for (const Resource& resource : set->resources)
    typeKnown = typeKnown || resource.type == wantedType;
  SetLastError(typeKnown ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
  return nullptr;
}

HGLOBAL LoadResource(HMODULE module, HRSRC resource)
{
  const Resource* found = ResourceOf(module, resource);
  if (!found) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<HGLOBAL>(const_cast<Resource*>(found));
}

LPVOID LockResource(HGLOBAL loaded)
{
  auto* resource = reinterpret_cast<const Resource*>(loaded);
  if (!loaded || !IsKnownResource(resource))
    return nullptr;
  return const_cast<BYTE*>(resource->data.empty() ? kNoBytes : resource->data.data());
}

DWORD SizeofResource(HMODULE module, HRSRC resource)
{
  const Resource* found = ResourceOf(module, resource);
  return found ? static_cast<DWORD>(found->data.size()) : 0;
}
