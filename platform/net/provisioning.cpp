// DMProcessConfigXML: the access-point name query of a GPRS connection entry, answered from
// the device settings.
#include "base/errors.h"
#include "connection_manager.h"
#include "kernel/device_root.h"
#include "net/provisioning.h"
#include "xml_document.h"

namespace {

constexpr size_t kMaxDocument = 64 * 1024;

// The query's place: CM_GPRSEntries / <entry> / DevSpecificCellular / the parameter.
constexpr char kGprsEntries[] = "CM_GPRSEntries";
constexpr char kCellular[] = "DevSpecificCellular";
constexpr char kApnParameter[] = "GPRSInfoAccessPointName";

// Answers the queries under the element, whose characteristic types so far are in path.
HRESULT Answer(net::XmlElement& element, std::vector<std::string>& path)
{
  for (net::XmlElement& child : element.children) {
    const std::string* type = child.Attribute("type");
    const std::string* name = child.Attribute("name");
    if (child.name == "characteristic" && type) {
      path.push_back(*type);
      HRESULT result = Answer(child, path);
      path.pop_back();
      if (FAILED(result)) {
        return result;
      }
      continue;
    }
    bool apnQuery = child.name == "parm-query" && name && *name == kApnParameter && child.children.empty() &&
                    path.size() == 3 && path[0] == kGprsEntries && path[2] == kCellular;
    if (!apnQuery) {
      return E_INVALIDARG;
    }
    std::optional<std::u16string> entry = device::FromHost(path[1]);
    const device::DataConnection* found = nullptr;
    for (const device::DataConnection& connection : device::Settings().connections) {
      if (entry && connection.name == *entry) {
        found = &connection;
        break;
      }
    }
    std::optional<std::string> apn = found ? device::ToHost(found->apn) : std::nullopt;
    if (!apn || apn->empty()) {
      return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    }
    child = net::XmlElement{"parm", {{"name", kApnParameter}, {"value", *apn}}, {}};
  }
  return S_OK;
}

bool HasQuery(const net::XmlElement& element)
{
  for (const net::XmlElement& child : element.children) {
    if (child.name == "parm-query" || HasQuery(child)) {
      return true;
    }
  }
  return false;
}

}  // namespace

HRESULT DMProcessConfigXML(LPCWSTR pszWXMLin, DWORD dwFlags, LPWSTR* ppszwXMLout)
{
  if (!ppszwXMLout) {
    return E_POINTER;
  }
  *ppszwXMLout = nullptr;
  if (!pszWXMLin || dwFlags != CFGFLAG_PROCESS) {
    return E_INVALIDARG;
  }
  std::optional<std::string> text = device::ToHost(pszWXMLin);
  std::optional<net::XmlElement> document =
      text && text->size() <= kMaxDocument ? net::ReadXml(*text) : std::nullopt;
  if (!document || document->name != "wap-provisioningdoc" || !HasQuery(*document)) {
    return E_INVALIDARG;
  }
  std::vector<std::string> path;
  HRESULT result = Answer(*document, path);
  if (FAILED(result)) {
    return result;
  }
  std::optional<std::u16string> answer = device::FromHost(net::WriteXml(*document));
  if (!answer) {
    return E_FAIL;
  }
  auto* out = new WCHAR[answer->size() + 1];
  answer->copy(out, answer->size());
  out[answer->size()] = u'\0';
  *ppszwXMLout = out;
  return S_OK;
}
