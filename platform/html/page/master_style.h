// The layout's default style sheet: how each element looks before the page's own styles.
#pragma once

namespace kv::html {

extern const char kMasterStyle[];

}  // namespace kv::html
