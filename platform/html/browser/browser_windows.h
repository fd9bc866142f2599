// The window classes of the browser control: the host (browser_windows.cpp), the control's own
// window inside it and the page view inside that.
#pragma once

namespace kv::html {

inline constexpr char16_t kControlClass[] = u"BrowserControl";
inline constexpr char16_t kViewClass[] = u"BrowserView";

}  // namespace kv::html
