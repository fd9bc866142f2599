// Dialogs for the dialog manager's tests: controls of test classes that answer WM_GETDLGCODE
// as buttons, radio buttons and edits do, templates built in code, procedures as closures.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "internal/user/dialog_template_writer.h"
#include "windows.h"

namespace dialog_test {

using user_dialog::DialogItemSpec;
using user_dialog::DialogSpec;
using user_dialog::TemplateName;

// Control kinds by their test class: push buttons (style 1: the default one; BM_SETSTYLE
// switches it), radio buttons, edits (they want characters and arrows and select their text on
// EM_SETSEL), plain windows.
constexpr const char16_t* kButton = u"TestButton";
constexpr const char16_t* kRadio = u"TestRadio";
constexpr const char16_t* kEdit = u"TestEdit";
constexpr const char16_t* kPlain = u"TestPlain";
void RegisterControlClasses();

DialogItemSpec Item(const char16_t* className, WORD id, DWORD style, short x = 0, short y = 0, short cx = 20,
                    short cy = 10);
std::vector<BYTE> Template(std::vector<DialogItemSpec> items, DWORD style = WS_POPUP | DS_SETFONT,
                           short cx = 100, short cy = 100);

// A dialog procedure made from a function; freed with the object.
class DialogProc {
 public:
  explicit DialogProc(std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> function);
  ~DialogProc();
  DialogProc(const DialogProc&) = delete;
  DialogProc& operator=(const DialogProc&) = delete;
  DLGPROC get() const { return proc_; }

 private:
  DLGPROC proc_;
};

// A log shared by the test thread and a user-interface thread.
class Log {
 public:
  void Add(std::string entry);
  std::vector<std::string> Take();

 private:
  std::mutex lock_;
  std::vector<std::string> entries_;
};

}  // namespace dialog_test
