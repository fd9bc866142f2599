// The access-point name query of the phone's provisioning, answered from the settings.
#include "testing/device_settings.h"

#include "net/provisioning.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::u16string Query(const std::u16string& entry)
{
  return u"<wap-provisioningdoc><characteristic type=\"CM_GPRSEntries\"><characteristic type=\"" + entry +
         u"\"><characteristic type=\"DevSpecificCellular\"><parm-query name=\"GPRSInfoAccessPointName\"/>"
         u"</characteristic></characteristic></characteristic></wap-provisioningdoc>";
}

struct Answer {
  HRESULT result;
  std::u16string text;
};

Answer Process(const std::u16string& document, DWORD flags = CFGFLAG_PROCESS)
{
  LPWSTR out = reinterpret_cast<LPWSTR>(1);
  HRESULT result = DMProcessConfigXML(document.c_str(), flags, &out);
  std::unique_ptr<WCHAR[]> owned(out);
  if (FAILED(result)) {
    EXPECT_EQ(out, nullptr);
    return {result, {}};
  }
  return {result, out};
}

TEST(Provisioning, AnswersTheApnOfAnEntry)
{
  device::testing::DeviceWithSettings device(device::testing::kPhoneConnections);
  Answer answer = Process(Query(u"China Mobile WAP"));
  ASSERT_EQ(answer.result, S_OK);
  EXPECT_EQ(answer.text,
            u"<wap-provisioningdoc><characteristic type=\"CM_GPRSEntries\"><characteristic type=\"China Mobile WAP\">"
            u"<characteristic type=\"DevSpecificCellular\"><parm name=\"GPRSInfoAccessPointName\" value=\"CMWAP\"/>"
            u"</characteristic></characteristic></characteristic></wap-provisioningdoc>");

  // Entity references in the entry's name, a declaration, comments and blanks are all read.
  std::u16string spaced = u"<?xml version=\"1.0\"?>\n<!-- query -->" + Query(u"Unprovisioned &amp; Co");
  EXPECT_EQ(Process(spaced).result, HRESULT_FROM_WIN32(ERROR_NOT_FOUND));  // the entry has no APN
}

TEST(Provisioning, RefusesWhatItCannotAnswer)
{
  device::testing::DeviceWithSettings device(device::testing::kPhoneConnections);
  struct Case {
    std::u16string document;
    DWORD flags;
    HRESULT result;
  } cases[] = {
      {Query(u"No Such Entry"), CFGFLAG_PROCESS, HRESULT_FROM_WIN32(ERROR_NOT_FOUND)},
      {Query(u"China Mobile WAP"), CFGFLAG_METADATA, E_INVALIDARG},
      {u"<wap-provisioningdoc><characteristic type=\"CM_GPRSEntries\"></characteristic></wap-provisioningdoc>",
       CFGFLAG_PROCESS, E_INVALIDARG},  // nothing asked
      {u"<wap-provisioningdoc><parm-query name=\"GPRSInfoAccessPointName\"/></wap-provisioningdoc>", CFGFLAG_PROCESS,
       E_INVALIDARG},  // asked in the wrong place
      {u"<wap-provisioningdoc><characteristic type=\"CM_GPRSEntries\">", CFGFLAG_PROCESS, E_INVALIDARG},
      {u"<wap-provisioningdoc>text</wap-provisioningdoc>", CFGFLAG_PROCESS, E_INVALIDARG},
      {u"<other><parm-query name=\"x\"/></other>", CFGFLAG_PROCESS, E_INVALIDARG},
      {u"<wap-provisioningdoc a=\"&bogus;\"/>", CFGFLAG_PROCESS, E_INVALIDARG},
      {std::u16string(40, u'<'), CFGFLAG_PROCESS, E_INVALIDARG},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Process(c.document, c.flags).result, c.result) << std::string(c.document.begin(), c.document.end());
  }
  EXPECT_EQ(DMProcessConfigXML(Query(u"China Mobile WAP").c_str(), CFGFLAG_PROCESS, nullptr), E_POINTER);

  std::u16string deep;
  for (int i = 0; i < 40; ++i) {
    deep += u"<characteristic type=\"x\">";
  }
  EXPECT_EQ(Process(u"<wap-provisioningdoc>" + deep).result, E_INVALIDARG);
}

}  // namespace
