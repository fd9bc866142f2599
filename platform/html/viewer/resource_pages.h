// Pages and images out of resource libraries, named by "res://<library path>/<name>" URLs.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "internal/html/page.h"

namespace kv::html {

// A page of a library, with the library kept loaded for its images until FreeLibrary.
struct ResourcePage {
  HMODULE library = nullptr;
  std::u16string html;
};

// The HTML resource that a "res://" URL names; nothing when the URL is of another kind or the
// library or its page cannot be found.
std::optional<ResourcePage> LoadResourcePage(std::u16string_view url);

// The images of a page: BITMAP resources named by absolute "res://" URLs or, for a page of a
// library (`library` not null), by their names in that library. Nothing else is looked up.
ImageSource ResourceImages(HMODULE library);

}  // namespace kv::html
