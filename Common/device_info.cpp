#include "device_info.h"

#include <cstring>
#include <vector>

#include "log_writer.h"

namespace {

constexpr WCHAR kApplicationName[] = u"KorvexPortal";
constexpr WCHAR kCellularLine[] = u"Cellular Line";
constexpr DWORD kExtensionVersion = 0x00010000;
constexpr int kMaxDigits = 15;
constexpr int kMaxScanned = 128;

// A variable-size telephony structure in memory aligned for it, of the given total size.
template <class T>
class VariableBuffer {
 public:
  explicit VariableBuffer(DWORD size) : words_((size + 7) / 8, 0)
  {
    Get()->dwTotalSize = size;
  }
  T* Get() { return reinterpret_cast<T*>(words_.data()); }
  const BYTE* Bytes() const { return reinterpret_cast<const BYTE*>(words_.data()); }
  DWORD Size() const { return reinterpret_cast<const T*>(words_.data())->dwTotalSize; }

  // The text at offset, size bytes long; empty when it is missing or outside the buffer.
  std::u16string Text(DWORD offset, DWORD size) const
  {
    if (size == 0 || offset > Size() || size > Size() - offset) {
      return {};
    }
    std::u16string text(size / sizeof(WCHAR), u'\0');
    std::memcpy(text.data(), Bytes() + offset, text.size() * sizeof(WCHAR));
    text.resize(std::char_traits<char16_t>::length(text.c_str()));
    return text;
  }

 private:
  std::vector<uint64_t> words_;
};

void CopyDigits(const std::u16string& text, WCHAR* digits)
{
  int count = 0;
  for (size_t i = 0; i < text.size() && i < static_cast<size_t>(kMaxScanned) && count < kMaxDigits; ++i) {
    if (text[i] >= u'0' && text[i] <= u'9') {
      digits[count++] = text[i];
    }
  }
  digits[count] = u'\0';
}

}  // namespace

CTapiLine::~CTapiLine()
{
  if (line != nullptr) {
    lineClose(line);
  }
  if (lineApp != nullptr) {
    lineShutdown(lineApp);
  }
}

BOOL CTapiLine::Initialize()
{
  LINEINITIALIZEEXPARAMS params = {};
  params.dwTotalSize = sizeof params;
  params.dwOptions = LINEINITIALIZEEXOPTION_USEEVENT;
  if (lineInitializeEx(&lineApp, nullptr, nullptr, kApplicationName, &numDevices, &apiVersion, &params) != 0) {
    lineApp = nullptr;
    return FALSE;
  }
  lineIndex = FindLineByName(kCellularLine);
  if (lineIndex >= 0) {
    DWORD device = static_cast<DWORD>(lineIndex);
    if (lineOpen(lineApp, device, &line, apiVersion, 0, 0, LINECALLPRIVILEGE_OWNER,
                 LINEMEDIAMODE_INTERACTIVEVOICE | LINEMEDIAMODE_DATAMODEM, nullptr) == 0) {
      if (lineNegotiateExtVersion(lineApp, device, apiVersion, kExtensionVersion, kExtensionVersion, &extVersion) == 0) {
        return TRUE;
      }
      lineClose(line);
      line = nullptr;
    }
  }
  lineShutdown(lineApp);
  lineApp = nullptr;
  return FALSE;
}

int CTapiLine::FindLineByName(const WCHAR* name)
{
  int found = -1;
  for (DWORD device = 0; device < numDevices; ++device) {
    DWORD version = 0;
    LINEEXTENSIONID extension = {};
    if (lineNegotiateAPIVersion(lineApp, device, apiVersion, apiVersion, &version, &extension) != 0) {
      continue;
    }
    VariableBuffer<LINEDEVCAPS> first(sizeof(LINEDEVCAPS));
    if (lineGetDevCaps(lineApp, device, version, 0, first.Get()) != 0) {
      continue;
    }
    VariableBuffer<LINEDEVCAPS> caps(first.Get()->dwNeededSize > sizeof(LINEDEVCAPS) ? first.Get()->dwNeededSize
                                                                                     : sizeof(LINEDEVCAPS));
    if (lineGetDevCaps(lineApp, device, version, 0, caps.Get()) != 0) {
      continue;
    }
    if (caps.Text(caps.Get()->dwLineNameOffset, caps.Get()->dwLineNameSize) == name) {
      found = static_cast<int>(device);
    }
  }
  return found;
}

void CTapiLine::FormatError(WCHAR* buffer, DWORD size, DWORD error)
{
  size_t count = size / sizeof(WCHAR);
  if (buffer == nullptr || count == 0) {
    return;
  }
  std::memset(buffer, 0, count * sizeof(WCHAR));
  _snwprintf(buffer, count, u"Unknown Error: 0x%X", error);
}

DeviceIdentity CTapiLine::GetGeneralInfoText(CStringW& text)
{
  DeviceIdentity identity = {};
  VariableBuffer<LINEGENERALINFO> first(sizeof(LINEGENERALINFO));
  LONG result = lineGetGeneralInfo(line, first.Get());
  if (result != 0 && result != LINEERR_STRUCTURETOOSMALL) {
    WRITE_LOG_ENTRY(u"error");
    return identity;
  }
  DWORD needed = first.Get()->dwNeededSize > sizeof(LINEGENERALINFO) ? first.Get()->dwNeededSize : sizeof(LINEGENERALINFO);
  VariableBuffer<LINEGENERALINFO> info(needed);
  if (lineGetGeneralInfo(line, info.Get()) != 0) {
    WRITE_LOG_ENTRY(u"error");
    return identity;
  }
  const LINEGENERALINFO& fields = *info.Get();
  std::u16string serial = info.Text(fields.dwSerialNumberOffset, fields.dwSerialNumberSize);
  std::u16string subscriber = info.Text(fields.dwSubscriberNumberOffset, fields.dwSubscriberNumberSize);
  auto shown = [&](DWORD offset, DWORD size) {
    std::u16string field = info.Text(offset, size);
    return CStringW(size == 0 ? u"Unavailable" : field.c_str());
  };
  text.Format(u"Manufacturer: %s|Model: %s|Revision: %s|Serial No: %s|Subscriber No: %s|",
              shown(fields.dwManufacturerOffset, fields.dwManufacturerSize).GetString(),
              shown(fields.dwModelOffset, fields.dwModelSize).GetString(),
              shown(fields.dwRevisionOffset, fields.dwRevisionSize).GetString(),
              shown(fields.dwSerialNumberOffset, fields.dwSerialNumberSize).GetString(),
              shown(fields.dwSubscriberNumberOffset, fields.dwSubscriberNumberSize).GetString());
  CopyDigits(subscriber, identity.subscriberDigits);
  CopyDigits(serial, identity.serialDigits);
  identity.valid = 1;
  return identity;
}

DeviceIdentity& CDeviceInfo::GetGeneralInfoText(CTapiLine& line, DeviceIdentity& record, CStringW& text)
{
  record = line.GetGeneralInfoText(text);
  return record;
}
