// How exchanges reach the server: directly whatever the host's proxy variables say, through
// the proxy of the root handle, and over TLS verified against the device's CA bundle, which a
// redirect does not leave.
#include "http_client.h"

#include "testgateway/loopback_proxy.h"
#include "testgateway/test_gateway.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

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

// Each page redirects (302) to the address given; the plain and the TLS listener serve the same
// pages, so a redirect off TLS would find the package.
class RedirectFromTls : public ::testing::Test {
 protected:
  void SetUp() override
  {
    std::filesystem::create_directories(device_.Host("Windows"));
    gateway_.start();
    gateway_.servePage("/package", Reply::http(200, "PACKAGE", "application/octet-stream"));
    Redirect("/to-http", gateway_.httpUrl() + "/package?session=s3cret");
    Redirect("/to-https", gateway_.httpsUrl() + "/package");
    Redirect("/to-https-then-http", gateway_.httpsUrl() + "/to-http");
    Redirect("/to-ftp", "ftp://127.0.0.1/package");
  }
  void Redirect(const std::string& path, const std::string& location)
  {
    Reply moved = Reply::http(302, "");
    moved.headers = {{"Location", location}};
    gateway_.servePage(path, moved);
  }
  bool PlainListenerAsked() const
  {
    for (const testgateway::RecordedRequest& request : gateway_.requests()) {
      if (!request.tls) {
        return true;
      }
    }
    return false;
  }

  DeviceWithSettings device_{"[network]\nca_bundle = certs/ca.pem\n"};
  TestGateway gateway_{testgateway::GatewayOptions{.tlsDir = device_.Host("certs")}};
};

TEST_F(RedirectFromTls, ARequestOverTlsFailsRatherThanLeaveIt)
{
  struct Case {
    const char* name;
    bool secure;
    const char16_t* path;
    DWORD error;  // 0: followed to the package
  } cases[] = {
      {"https to http", true, u"/to-http", ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR},
      {"https to https", true, u"/to-https", 0},
      {"https, https, then http", true, u"/to-https-then-http", ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR},
      {"https to another scheme", true, u"/to-ftp", ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR},
      {"http to http", false, u"/to-http", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gateway_.clearRequests();
    TestClient client;
    testing::internal::CaptureStderr();
    HINTERNET request = c.secure ? client.Send(gateway_.httpsPort(), c.path, {}, INTERNET_FLAG_SECURE, u"GET")
                                 : client.Send(gateway_.httpPort(), c.path, {}, 0, u"GET");
    INTERNET_ASYNC_RESULT result = client.WaitForCompletion();
    std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(result.dwError, c.error);
    if (c.error == 0) {
      EXPECT_TRUE(result.dwResult);
      EXPECT_EQ(client.ReadAll(request), "PACKAGE");
      EXPECT_EQ(log.find("refused"), std::string::npos) << log;
    } else {
      EXPECT_FALSE(result.dwResult);
      EXPECT_FALSE(PlainListenerAsked());
      EXPECT_NE(log.find("inet: redirect from https://127.0.0.1 to "), std::string::npos) << log;
      EXPECT_EQ(log.find("s3cret"), std::string::npos) << "the address's query is not logged: " << log;
    }
    InternetCloseHandle(request);
  }
}

TEST_F(RedirectFromTls, ADownloadRedirectedOffTlsWritesNothing)
{
  std::string url = gateway_.httpsUrl() + "/to-http";
  EXPECT_EQ(URLDownloadToFileW(nullptr, std::u16string(url.begin(), url.end()).c_str(), u"\\Windows\\KorvexPortal.CAB",
                               0, nullptr),
            INET_E_REDIRECT_FAILED);
  EXPECT_TRUE(std::filesystem::is_empty(device_.Host("Windows")));
  EXPECT_FALSE(PlainListenerAsked());
}

}  // namespace
