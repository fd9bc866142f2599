// The fixture of the list control tests: a device root and a shown parent window that records,
// in order, what its controls send it (WM_COMMAND codes, WM_NOTIFY codes, colour, measure and
// draw requests), answers WM_MEASUREITEM with a row height of its choosing and colour requests
// with a brush of its own.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <ios>
#include <span>
#include <string>
#include <vector>

#include "testing/device_root.h"
#include "testing/message_log.h"
#include "testing/ui_harness.h"
#include "windows.h"

inline bool operator==(const RECT& a, const RECT& b)
{
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream& operator<<(std::ostream& out, const RECT& r)
{
  return out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

inline bool operator==(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }
inline std::ostream& operator<<(std::ostream& out, const POINT& p) { return out << "(" << p.x << ", " << p.y << ")"; }

// One thing the parent heard: the message and its code (WM_COMMAND's high word, WM_NOTIFY's code,
// the control id otherwise).
struct Heard {
  UINT message;
  int code;
  bool operator==(const Heard&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Heard& heard)
{
  return out << kvtest::MessageName(heard.message) << "(" << heard.code << ")";
}

inline Heard Cmd(int code) { return Heard{WM_COMMAND, code}; }
inline Heard Ntf(UINT code) { return Heard{WM_NOTIFY, static_cast<int>(code)}; }

// One message to a control and the answer it must give.
struct MessageStep {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result;
};

class ListControlsTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    parent = kvtest::CreateRecordingWindow(
        log, {.name = "parent", .style = WS_POPUP | WS_VISIBLE, .rect = {0, 0, 240, 320},
              .handler = [this](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
                return Noted(message, wParam, lParam);
              }});
    brush = CreateSolidBrush(RGB(0xF0, 0xF0, 0xE0));
  }
  void TearDown() override
  {
    kvtest::DestroyThreadWindows();
    DeleteObject(brush);
  }

  HWND Make(LPCWSTR cls, DWORD style, RECT rect = {10, 10, 150, 110}, int id = 100)
  {
    return CreateWindowExW(0, cls, nullptr, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent,
                           reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
  }

  // Sends the messages in order, checking each answer; the parent must hear nothing meanwhile.
  void ExpectAnswers(HWND control, std::span<const MessageStep> steps)
  {
    int n = 0;
    for (const MessageStep& step : steps) {
      EXPECT_EQ(step.result, SendMessageW(control, step.message, step.wParam, step.lParam))
          << "step " << n << " " << std::hex << step.message;
      ++n;
    }
    EXPECT_TRUE(Take().empty());
  }

  // What the parent heard so far, leaving out colour requests unless asked; forgets it.
  std::vector<Heard> Take(bool withColours = false)
  {
    std::vector<Heard> taken;
    for (const Heard& h : heard)
      if (withColours || (h.message < WM_CTLCOLORMSGBOX || h.message > WM_CTLCOLORSTATIC))
        taken.push_back(h);
    heard.clear();
    return taken;
  }

  // Only the notifications (WM_COMMAND and WM_NOTIFY) heard so far; forgets everything heard.
  std::vector<Heard> TakeNotifications()
  {
    std::vector<Heard> taken;
    for (const Heard& h : heard)
      if (h.message == WM_COMMAND || h.message == WM_NOTIFY)
        taken.push_back(h);
    heard.clear();
    return taken;
  }

  device::testing::ScopedDeviceRoot root;
  kvtest::MessageLog log;
  HWND parent = nullptr;
  HBRUSH brush = nullptr;
  std::vector<Heard> heard;
  std::vector<DRAWITEMSTRUCT> drawn;
  std::vector<MEASUREITEMSTRUCT> measured;
  std::vector<NMITEMACTIVATE> activations;
  UINT rowHeight = 0;    // the answer to WM_MEASUREITEM; 0 leaves the control's height
  bool vetoTabs = false; // the answer to TCN_SELCHANGING
  std::function<void(int code, HWND control)> onCommand;  // called for each WM_COMMAND
  std::function<void(const MEASUREITEMSTRUCT&)> onMeasure;  // called for each WM_MEASUREITEM

 private:
  std::optional<LRESULT> Noted(UINT message, WPARAM wParam, LPARAM lParam)
  {
    switch (message) {
    case WM_COMMAND:
      heard.push_back({message, HIWORD(wParam)});
      if (onCommand)
        onCommand(HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      heard.push_back({message, static_cast<int>(header->code)});
      if (header->code == NM_CLICK || header->code == NM_RETURN)
        activations.push_back(*reinterpret_cast<NMITEMACTIVATE*>(lParam));
      return header->code == TCN_SELCHANGING && vetoTabs ? TRUE : 0;
    }
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      heard.push_back({message, 0});
      return reinterpret_cast<LRESULT>(brush);
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      heard.push_back({message, static_cast<int>(measure->CtlType)});
      if (onMeasure)
        onMeasure(*measure);
      if (rowHeight)
        measure->itemHeight = rowHeight;
      measured.push_back(*measure);
      return TRUE;
    }
    case WM_DRAWITEM:
      heard.push_back({message, static_cast<int>(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->itemID)});
      drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    default:
      return std::nullopt;
    }
  }
};
