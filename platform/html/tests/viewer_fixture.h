// The fixture of the viewer's tests: a device root with the test library ViewerRes, a shown
// parent window that records the links the viewer reports, and the viewer filling it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "html/html_viewer.h"
#include "internal/gdi/screen.h"
#include "testing/device_root.h"
#include "testing/message_log.h"
#include "testing/screenshot.h"
#include "testing/ui_harness.h"
#include "windows.h"

class ViewerTest : public ::testing::Test {
 protected:
  static constexpr int kViewerId = 1001;
  static constexpr char16_t kHelpUrl[] = u"res://\\Program Files\\Tests\\ViewerRes.dll/274";

  void SetUp() override { Open(240, 320); }
  void TearDown() override { kvtest::DestroyThreadWindows(); }

  // A screen of the size given with the parent and the viewer filling it.
  void Open(int width, int height)
  {
    kvtest::DestroyThreadWindows();
    kvtest::SetScreenSize(width, height);
    std::filesystem::path library = root.path() + "/Program Files/Tests/ViewerRes.dll";
    std::filesystem::create_directories(library.parent_path());
    std::filesystem::copy(KV_VIEWER_LIBRARY, library,
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::skip_existing);
    ASSERT_TRUE(InitHTMLControl(nullptr));
    parent = kvtest::CreateRecordingWindow(
        log, {.name = "parent", .style = WS_POPUP | WS_VISIBLE, .rect = {0, 0, width, height},
              .handler = [this](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
                if (message != WM_NOTIFY)
                  return std::nullopt;
                const auto* info = reinterpret_cast<const NM_HTMLVIEWW*>(lParam);
                if (info->hdr.code == NM_HOTSPOT) {
                  hotspots.emplace_back(info->szTarget);
                  headers.push_back(info->hdr);
                }
                return 0;
              }});
    viewer = MakeViewer(width, height);
    kvtest::RunUntilIdle();
  }

  HWND MakeViewer(int width, int height)
  {
    return CreateWindowExW(0, DISPLAYCLASS, u"", WS_CHILD | WS_VISIBLE, 0, 0, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<intptr_t>(kViewerId)), nullptr, nullptr);
  }

  static void Show(HWND viewer, const std::u16string& html, bool plain = false)
  {
    SendMessageW(viewer, DTM_ADDTEXTW, plain, reinterpret_cast<LPARAM>(html.c_str()));
    SendMessageW(viewer, DTM_ENDOFSOURCE, 0, 0);
    kvtest::RunUntilIdle();
  }
  void Show(const std::u16string& html, bool plain = false) { Show(viewer, html, plain); }

  // The pixels the viewer shows, with its scroll bar.
  static std::vector<uint32_t> Pixels(HWND hwnd)
  {
    gdi_screen::Image image;
    EXPECT_TRUE(gdi_screen::CaptureWindow(hwnd, &image));
    return image.pixels;
  }
  // Equal pixels, or how many differ.
  static ::testing::AssertionResult SamePixels(const std::vector<uint32_t>& expected, const std::vector<uint32_t>& shown)
  {
    if (expected.size() != shown.size())
      return ::testing::AssertionFailure() << "sizes " << expected.size() << " and " << shown.size();
    size_t differ = 0;
    for (size_t i = 0; i < expected.size(); ++i)
      differ += expected[i] != shown[i];
    if (differ == 0)
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differ << " pixels differ";
  }
  static bool Blank(HWND hwnd)
  {
    for (uint32_t p : Pixels(hwnd))
      if ((p & 0xFFFFFF) != 0xFFFFFF)
        return false;
    return true;
  }

  // The viewer's one child.
  HWND ScrollBar() const { return GetWindow(viewer, GW_CHILD); }
  // The viewer's scroll position as its scroll bar shows it; -1 while the bar is hidden.
  int ScrollPosition() const
  {
    HWND bar = ScrollBar();
    return bar && IsWindowVisible(bar) ? GetScrollPos(bar, SB_CTL) : -1;
  }

  device::testing::ScopedDeviceRoot root;
  kvtest::MessageLog log;
  HWND parent = nullptr;
  HWND viewer = nullptr;
  std::vector<std::u16string> hotspots;
  std::vector<NMHDR> headers;
};
