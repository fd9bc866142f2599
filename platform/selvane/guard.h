// The guard of one edit: it sits at the top of the edit's subclass chain, keeps the typed text
// and passes the edit a mask character in place of each typed one, so that the edit (and every
// subclass below the guard) applies its own rules (limit, read-only, filters) to the mask.
// What the edit accepted is mirrored into the guarded text.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "windows.h"

namespace selvane_detail {

// Owned through shared_ptr: a call into the guard's procedure keeps it alive to its end, even
// when the edit is destroyed (and the guard forgotten) during the call.
class Guard : public std::enable_shared_from_this<Guard> {
 public:
  explicit Guard(HWND edit);
  ~Guard();
  Guard(const Guard&) = delete;
  Guard& operator=(const Guard&) = delete;

  // Subclasses the edit, taking its present text. False when that failed.
  bool Attach();
  // Gives the edit back its former procedure when the guard is still at the top of its chain
  // (and this is the edit's thread), else leaves the guard as a plain pass-through. Wipes the
  // text.
  void Detach();
  // Copies the guarded text; the caller wipes its copy.
  size_t CopyTo(char16_t* buffer, size_t capacity) const;
  // The whole buffer, past the end of the text too (for tests).
  std::u16string Memory() const;
  void Wipe();
  HWND Edit() const { return edit_; }
  // Detached but still in the edit's chain: it must live as long as the edit.
  bool StillChained() const { return stillChained_; }

 private:
  LRESULT Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Forward(UINT message, WPARAM wParam, LPARAM lParam);
  // Replaces the edit's selection with the text, mirroring what the edit took.
  LRESULT Insert(UINT message, WPARAM wParam, std::u16string_view text);
  LRESULT SetText(UINT message, WPARAM wParam, LPCWSTR text);
  char16_t MaskCharacter() const;
  void WipeText();  // textLock_ held

  HWND edit_;
  WNDPROC previous_ = nullptr;
  WNDPROC own_ = nullptr;
  bool active_ = false;
  bool stillChained_ = false;
  // The edit's thread changes the text; the library's calls read and wipe it from any thread.
  mutable std::mutex textLock_;
  std::u16string secret_;  // reserved once so that it never moves in memory
};

// Overwrites memory so that the compiler cannot drop the stores.
void WipeMemory(void* data, size_t bytes);

}  // namespace selvane_detail
