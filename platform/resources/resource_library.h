// The resources of a loaded resource library (a folder of scripts and files): compiled on first
// use and kept for the life of the process, so what the calls hand out stays valid.
#pragma once

#include "resource_set.h"

namespace resources {

// Null (with the last error set) when the module is no resource library.
const ResourceSet* LibraryResources(HMODULE module);

// Whether a resource lies in some compiled library, for the calls that get only its address.
bool IsKnownResource(const Resource* resource);

}  // namespace resources
