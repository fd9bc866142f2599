// The telephony line and the phone's identity as a device program reads them, from the device
// settings of a fresh device root.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "kernel/handle.h"
#include "phone/tapi.h"
#include "phone_settings_fixture.h"

namespace {

// The device-identity steps: initialise, find "Cellular Line", open it, negotiate the extension.
class OpenedLine {
 public:
  OpenedLine() {
    LINEINITIALIZEEXPARAMS params{};
    params.dwTotalSize = sizeof params;
    params.dwOptions = LINEINITIALIZEEXOPTION_USEEVENT;
    DWORD apiVersion = 0x00020000;
    result = lineInitializeEx(&app, nullptr, nullptr, u"KorvexPortal", &devices, &apiVersion, &params);
    if (result != 0) return;
    event = params.Handles.hEvent;
    lineIndex = FindLine(u"Cellular Line");
    if (lineIndex < 0) return;
    result = lineOpen(app, lineIndex, &line, 0x00020000, 0, 0, LINECALLPRIVILEGE_OWNER,
                      LINEMEDIAMODE_INTERACTIVEVOICE | LINEMEDIAMODE_DATAMODEM, nullptr);
    if (result == 0) result = lineNegotiateExtVersion(app, lineIndex, 0x00020000, 0x00010000, 0x00010000, &extVersion);
  }
  ~OpenedLine() {
    if (line != nullptr) {
      EXPECT_EQ(lineClose(line), 0);
    }
    if (app != nullptr) {
      EXPECT_EQ(lineShutdown(app), 0);
    }
  }

  // The last device whose name is the given one, read with the size query, or -1.
  int FindLine(std::u16string_view name) {
    int found = -1;
    for (DWORD device = 0; device < devices; ++device) {
      DWORD version = 0;
      LINEEXTENSIONID extension;
      if (lineNegotiateAPIVersion(app, device, 0x00020000, 0x00020000, &version, &extension) != 0) continue;
      LINEDEVCAPS first{};
      first.dwTotalSize = sizeof first;
      if (lineGetDevCaps(app, device, version, 0, &first) != 0) continue;
      std::vector<uint64_t> buffer((first.dwNeededSize + 7) / 8);
      auto* caps = reinterpret_cast<LINEDEVCAPS*>(buffer.data());
      caps->dwTotalSize = first.dwNeededSize;
      if (lineGetDevCaps(app, device, version, 0, caps) != 0) continue;
      const auto* text = reinterpret_cast<const char16_t*>(reinterpret_cast<const BYTE*>(caps) + caps->dwLineNameOffset);
      if (caps->dwLineNameSize >= 2 && std::u16string_view(text, caps->dwLineNameSize / 2 - 1) == name) {
        found = static_cast<int>(device);
      }
    }
    return found;
  }

  LONG result = 0;
  HLINEAPP app = nullptr;
  HANDLE event = nullptr;
  DWORD devices = 0;
  int lineIndex = -1;
  HLINE line = nullptr;
  DWORD extVersion = 0;
};

// A general-information field's text, or nothing when missing.
std::optional<std::u16string> Field(const LINEGENERALINFO* info, DWORD size, DWORD offset) {
  if (size == 0) return std::nullopt;
  EXPECT_GE(offset, sizeof(LINEGENERALINFO));
  EXPECT_LE(offset + size, info->dwUsedSize);
  const auto* text = reinterpret_cast<const char16_t*>(reinterpret_cast<const BYTE*>(info) + offset);
  EXPECT_EQ(text[size / 2 - 1], u'\0') << "terminated";
  return std::u16string(text, size / 2 - 1);
}

class PhoneTest : public ::testing::Test {
 protected:
  phone_test::DeviceWithSettings device_;
};

TEST_F(PhoneTest, TheCellularLineGivesThePhonesIdentityInTwoCalls) {
  device_.SetPhone({u"HTC", u"Touch Diamond", u"1.00.25.19", u"35-209900-176148-1", u"460001234567890"});
  OpenedLine opened;
  ASSERT_EQ(opened.result, 0);
  EXPECT_EQ(opened.devices, 1u);
  EXPECT_EQ(opened.lineIndex, 0);
  EXPECT_EQ(opened.extVersion, 0x00010000u);
  EXPECT_NE(opened.event, nullptr);

  LINEGENERALINFO first{};
  first.dwTotalSize = sizeof first;
  ASSERT_EQ(lineGetGeneralInfo(opened.line, &first), LINEERR_STRUCTURETOOSMALL);
  EXPECT_EQ(first.dwNeededSize, 52u + 2 * (4 + 14 + 11 + 19 + 16));
  EXPECT_EQ(first.dwSerialNumberSize, 0u) << "no texts in a structure that is too small";

  std::vector<uint64_t> buffer((first.dwNeededSize + 7) / 8);
  auto* info = reinterpret_cast<LINEGENERALINFO*>(buffer.data());
  info->dwTotalSize = first.dwNeededSize;
  ASSERT_EQ(lineGetGeneralInfo(opened.line, info), 0);
  EXPECT_EQ(info->dwUsedSize, first.dwNeededSize);
  EXPECT_EQ(Field(info, info->dwManufacturerSize, info->dwManufacturerOffset), u"HTC");
  EXPECT_EQ(Field(info, info->dwModelSize, info->dwModelOffset), u"Touch Diamond");
  EXPECT_EQ(Field(info, info->dwRevisionSize, info->dwRevisionOffset), u"1.00.25.19");
  EXPECT_EQ(Field(info, info->dwSerialNumberSize, info->dwSerialNumberOffset), u"35-209900-176148-1");
  EXPECT_EQ(Field(info, info->dwSubscriberNumberSize, info->dwSubscriberNumberOffset), u"460001234567890");
}

TEST_F(PhoneTest, MissingFieldsHaveNoText) {
  device_.SetPhone({u"HTC", u"", u"", u"352099001761481", u""});
  OpenedLine opened;
  ASSERT_EQ(opened.result, 0);

  LINEGENERALINFO first{};
  first.dwTotalSize = sizeof first;
  ASSERT_EQ(lineGetGeneralInfo(opened.line, &first), LINEERR_STRUCTURETOOSMALL);
  std::vector<uint64_t> buffer((first.dwNeededSize + 7) / 8 + 4);  // more room than needed
  auto* info = reinterpret_cast<LINEGENERALINFO*>(buffer.data());
  info->dwTotalSize = static_cast<DWORD>(buffer.size() * 8);
  ASSERT_EQ(lineGetGeneralInfo(opened.line, info), 0);
  EXPECT_EQ(info->dwNeededSize, 52u + 2 * (4 + 16));
  EXPECT_EQ(info->dwUsedSize, info->dwNeededSize);
  EXPECT_EQ(Field(info, info->dwModelSize, info->dwModelOffset), std::nullopt);
  EXPECT_EQ(info->dwModelOffset, 0u);
  EXPECT_EQ(Field(info, info->dwRevisionSize, info->dwRevisionOffset), std::nullopt);
  EXPECT_EQ(Field(info, info->dwSubscriberNumberSize, info->dwSubscriberNumberOffset), std::nullopt);
  EXPECT_EQ(Field(info, info->dwSerialNumberSize, info->dwSerialNumberOffset), u"352099001761481");
}

TEST_F(PhoneTest, ADeviceWithoutAPhoneHasNoLine) {
  device_.SetNoPhone();
  OpenedLine opened;
  ASSERT_EQ(opened.result, 0);
  EXPECT_EQ(opened.devices, 0u);
  EXPECT_EQ(opened.lineIndex, -1);

  HLINE line = nullptr;
  EXPECT_EQ(lineOpen(opened.app, 0, &line, 0x00020000, 0, 0, LINECALLPRIVILEGE_OWNER, LINEMEDIAMODE_DATAMODEM, nullptr),
            LINEERR_BADDEVICEID);
  DWORD version = 0;
  LINEEXTENSIONID extension;
  EXPECT_EQ(lineNegotiateAPIVersion(opened.app, 0, 0x00020000, 0x00020000, &version, &extension), LINEERR_BADDEVICEID);
}

TEST_F(PhoneTest, CapabilitiesFollowTheVariableSizeProtocol) {
  device_.SetPhone({u"HTC", u"P3470", u"1", u"1", u"1"});
  OpenedLine opened;
  ASSERT_EQ(opened.result, 0);

  LINEDEVCAPS caps{};
  caps.dwTotalSize = sizeof caps - 1;
  EXPECT_EQ(lineGetDevCaps(opened.app, 0, 0x00020000, 0, &caps), LINEERR_STRUCTURETOOSMALL);

  caps.dwTotalSize = sizeof caps;
  ASSERT_EQ(lineGetDevCaps(opened.app, 0, 0x00020000, 0, &caps), 0) << "fits the fixed part: success";
  EXPECT_EQ(caps.dwNeededSize, sizeof caps + sizeof u"Cellular Line");
  EXPECT_EQ(caps.dwUsedSize, sizeof caps);
  EXPECT_EQ(caps.dwLineNameSize, 0u);
  EXPECT_EQ(caps.dwStringFormat, static_cast<DWORD>(STRINGFORMAT_UNICODE));

  EXPECT_EQ(lineGetDevCaps(opened.app, 0, 0x00030000, 0, &caps), LINEERR_INCOMPATIBLEAPIVERSION);
  DWORD version = 0;
  LINEEXTENSIONID extension;
  EXPECT_EQ(lineNegotiateAPIVersion(opened.app, 0, 0x00010004, 0x00030000, &version, &extension), 0);
  EXPECT_EQ(version, 0x00020000u);
  EXPECT_EQ(lineNegotiateAPIVersion(opened.app, 0, 0x00030000, 0x00030000, &version, &extension),
            LINEERR_INCOMPATIBLEAPIVERSION);
  DWORD ext = 0;
  EXPECT_EQ(lineNegotiateExtVersion(opened.app, 0, 0x00020000, 0x00020000, 0x00020000, &ext),
            LINEERR_INCOMPATIBLEEXTVERSION);
}

TEST_F(PhoneTest, ShutdownClosesTheApplicationsLinesAndStaleHandlesAreRefused) {
  device_.SetPhone({u"HTC", u"P3470", u"1", u"1", u"1"});
  OpenedLine opened;
  ASSERT_EQ(opened.result, 0);
  const HLINE line = opened.line;
  const HLINEAPP app = opened.app;
  const HANDLE event = opened.event;
  opened.line = nullptr;
  opened.app = nullptr;
  ASSERT_EQ(lineShutdown(app), 0);

  LINEGENERALINFO info{};
  info.dwTotalSize = sizeof info;
  EXPECT_EQ(lineGetGeneralInfo(line, &info), LINEERR_INVALLINEHANDLE);
  EXPECT_EQ(lineClose(line), LINEERR_INVALLINEHANDLE);
  EXPECT_EQ(lineShutdown(app), LINEERR_INVALAPPHANDLE);
  EXPECT_FALSE(CloseHandle(event)) << "the event went with the application";

  HLINE other = nullptr;
  EXPECT_EQ(lineOpen(app, 0, &other, 0x00020000, 0, 0, LINECALLPRIVILEGE_OWNER, LINEMEDIAMODE_DATAMODEM, nullptr),
            LINEERR_INVALAPPHANDLE);
}

}  // namespace
