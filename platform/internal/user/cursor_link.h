// For the display: which cursor the device shows now.
#pragma once

namespace user_cursor {

enum class Shape { none, arrow, wait };
Shape Current();

}  // namespace user_cursor
