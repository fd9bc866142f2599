// The fixture of the control tests: a device root, a shown parent window that records the
// notifications its controls send (WM_COMMAND, the colour and owner-draw requests, scroll codes)
// and answers colour requests with a brush of its own.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/device_root.h"
#include "testing/message_log.h"
#include "testing/ui_harness.h"
#include "windows.h"

struct Note {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const Note&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Note& note)
{
  return out << kvtest::MessageName(note.message) << "(" << LOWORD(note.wParam) << ", " << HIWORD(note.wParam) << ")";
}

inline Note Command(int id, WORD code) { return Note{WM_COMMAND, MAKEWPARAM(id, code), 0}; }

class ControlsTest : public ::testing::Test {
 protected:
  static constexpr COLORREF kParentColour = RGB(200, 30, 40);

  void SetUp() override
  {
    parentBrush = CreateSolidBrush(kParentColour);
    parent = kvtest::CreateRecordingWindow(
        log, {.name = "parent", .style = WS_POPUP | WS_VISIBLE, .rect = {0, 0, 240, 320},
              .handler = [this](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
                return Noted(message, wParam, lParam);
              }});
  }
  void TearDown() override
  {
    kvtest::DestroyThreadWindows();
    DeleteObject(parentBrush);
  }

  HWND Make(LPCWSTR cls, LPCWSTR text, DWORD style, RECT rect = {10, 10, 110, 40}, int id = 100,
            DWORD exStyle = 0)
  {
    return CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent,
                           reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
  }

  // The notifications so far, without lParam (the control), and forgets them.
  std::vector<Note> TakeNotes()
  {
    std::vector<Note> taken;
    for (Note note : notes) {
      note.lParam = 0;
      taken.push_back(note);
    }
    notes.clear();
    return taken;
  }

  static std::u16string TextOf(HWND hwnd)
  {
    WCHAR buffer[512];
    GetWindowTextW(hwnd, buffer, 512);
    return buffer;
  }

  device::testing::ScopedDeviceRoot root;
  kvtest::MessageLog log;
  HWND parent = nullptr;
  std::vector<Note> notes;
  std::vector<DRAWITEMSTRUCT> drawn;
  bool noteColours = false;  // colour requests are noted only when a test asks for them
  HBRUSH parentBrush = nullptr;

 private:
  std::optional<LRESULT> Noted(UINT message, WPARAM wParam, LPARAM lParam)
  {
    switch (message) {
    case WM_COMMAND:
    case WM_VSCROLL:
    case WM_HSCROLL:
      notes.push_back({message, wParam, lParam});
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSCROLLBAR:
      if (noteColours)
        notes.push_back({message, 0, 0});
      return reinterpret_cast<LRESULT>(parentBrush);
    case WM_DRAWITEM:
      if (noteColours)
        notes.push_back({message, wParam, 0});
      drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    default:
      return std::nullopt;
    }
  }
};
