// How exchanges reach the server: directly whatever the host's proxy variables say, through
// the proxy of the root handle, and over TLS verified against the device's CA bundle.
#include "http_client.h"

#include "testgateway/loopback_proxy.h"
#include "testgateway/test_gateway.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using inet_test::DeviceWithSettings;
using inet_test::TestClient;
using testgateway::Reply;
using testgateway::ServerCertificate;
using testgateway::TestGateway;

TEST(Proxy, DirectIgnoresTheHostsProxyVariablesAndAProxyCarriesBothSchemes)
{
  DeviceWithSettings device;
  std::filesystem::path certificates = device.Host("certs");
  TestGateway gateway(testgateway::GatewayOptions{.tlsDir = certificates});
  gateway.servePage("/page", Reply::http(200, "x"));
  gateway.start();
  std::ofstream(device.Host("device.ini")) << "[network]\nca_bundle = " << gateway.tlsFiles().caCertificate.string() << "\n";
  testgateway::LoopbackProxy proxy;
  proxy.start();

  for (const char* variable : {"http_proxy", "https_proxy", "HTTPS_PROXY", "ALL_PROXY"}) {
    setenv(variable, "http://127.0.0.1:1", 1);
  }
  {
    TestClient direct;
    HINTERNET request = direct.Send(gateway.httpPort(), u"/page");
    ASSERT_TRUE(direct.WaitForCompletion().dwResult);
    InternetCloseHandle(request);
  }
  EXPECT_EQ(proxy.requestCount(), 0u);

  std::string address = proxy.address();
  std::u16string proxyText(address.begin(), address.end());
  TestClient proxied(proxyText.c_str());
  HINTERNET plain = proxied.Send(gateway.httpPort(), u"/page");
  ASSERT_TRUE(proxied.WaitForCompletion().dwResult);
  EXPECT_EQ(proxied.ReadAll(plain), "x");
  HINTERNET secure = proxied.Send(gateway.httpsPort(), u"/page", {}, INTERNET_FLAG_SECURE);
  ASSERT_TRUE(proxied.WaitForCompletion().dwResult);
  EXPECT_EQ(proxied.ReadAll(secure), "x");

  std::string port = std::to_string(gateway.httpPort());
  std::string securePort = std::to_string(gateway.httpsPort());
  EXPECT_EQ(proxy.requestLines(), (std::vector<std::string>{"POST http://127.0.0.1:" + port + "/page HTTP/1.1",
                                                            "CONNECT 127.0.0.1:" + securePort + " HTTP/1.1"}));
  InternetCloseHandle(plain);
  InternetCloseHandle(secure);
}

struct TlsCase {
  ServerCertificate certificate;
  DWORD ignoredErrors;  // SECURITY_FLAG_IGNORE_* set on the request
  bool debugSwitch;     // the device's debug_insecure_tls
  DWORD error;          // 0: the exchange succeeds
};

class Tls : public ::testing::TestWithParam<TlsCase> {};

TEST_P(Tls, CertificatesAreVerifiedAgainstTheDeviceBundle)
{
  const TlsCase& c = GetParam();
  DeviceWithSettings device;
  TestGateway gateway(testgateway::GatewayOptions{.http = false, .tlsDir = device.Host("certs"), .certificate = c.certificate});
  gateway.servePage("/page", Reply::http(200, "secret"));
  gateway.start();
  std::ofstream(device.Host("device.ini")) << "[network]\nca_bundle = certs/ca.pem\ndebug_insecure_tls = "
                                           << (c.debugSwitch ? "yes" : "no") << "\n";

  TestClient client;
  HINTERNET connection = InternetConnectW(client.internet(), u"127.0.0.1", gateway.httpsPort(), nullptr, nullptr,
                                          INTERNET_SERVICE_HTTP, 0, 0);
  HINTERNET request = HttpOpenRequestW(connection, u"POST", u"/page", u"HTTP/1.1", nullptr, nullptr,
                                       INTERNET_FLAG_SECURE, reinterpret_cast<DWORD_PTR>(&client));
  DWORD flags = c.ignoredErrors;
  ASSERT_TRUE(InternetSetOptionW(request, INTERNET_OPTION_SECURITY_FLAGS, &flags, sizeof flags));
  client.SendOn(request, "a=1");
  INTERNET_ASYNC_RESULT result = client.WaitForCompletion();
  EXPECT_EQ(result.dwError, c.error);
  if (c.error == 0) {
    EXPECT_TRUE(result.dwResult);
    EXPECT_EQ(client.ReadAll(request), "secret");
  } else {
    EXPECT_FALSE(result.dwResult);
    EXPECT_TRUE(gateway.requests().empty());
  }
  InternetCloseHandle(request);
}

constexpr DWORD kIgnoreAll = 0x3100;  // unknown CA, wrong name, wrong date

INSTANTIATE_TEST_SUITE_P(
    Certificates, Tls,
    ::testing::Values(TlsCase{ServerCertificate::Trusted, 0, false, 0},
                      TlsCase{ServerCertificate::Untrusted, 0, false, ERROR_INTERNET_INVALID_CA},
                      TlsCase{ServerCertificate::WrongHost, 0, false, ERROR_INTERNET_SEC_CERT_CN_INVALID},
                      // The flags alone do not turn verification off ...
                      TlsCase{ServerCertificate::Untrusted, kIgnoreAll, false, ERROR_INTERNET_INVALID_CA},
                      TlsCase{ServerCertificate::WrongHost, kIgnoreAll, false, ERROR_INTERNET_SEC_CERT_CN_INVALID},
                      // ... nor does the debug switch without them; both together do.
                      TlsCase{ServerCertificate::Untrusted, 0, true, ERROR_INTERNET_INVALID_CA},
                      TlsCase{ServerCertificate::Untrusted, kIgnoreAll, true, 0},
                      TlsCase{ServerCertificate::WrongHost, SECURITY_FLAG_IGNORE_CERT_CN_INVALID, true, 0}));

}  // namespace
