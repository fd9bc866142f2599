// HTTPS with the generated certificates: a client that trusts the test CA gets through, one
// facing a stranger's certificate or another host's does not.
#include <gtest/gtest.h>

#include "test_support.h"
#include "testgateway/test_gateway.h"

namespace testgateway {
namespace {

httplib::Result getOverTls(const TestGateway& gateway, const std::filesystem::path& caFile) {
  httplib::SSLClient client("127.0.0.1", gateway.httpsPort());
  client.set_ca_cert_path(caFile.c_str());
  client.enable_server_certificate_verification(true);
  return testing::postOperation(client, R"({"operationType":"queryBalance"})");
}

TEST(GatewayTls, TheTestCaIsAcceptedAndTheRequestRecorded) {
  testing::ScratchDir dir;
  TestGateway gateway(GatewayOptions{.tlsDir = dir.path()});
  gateway.script("queryBalance", Reply::success());
  gateway.start();
  EXPECT_EQ(gateway.url(), gateway.httpsUrl());

  auto result = getOverTls(gateway, gateway.tlsFiles().caCertificate);
  ASSERT_TRUE(result) << httplib::to_string(result.error());
  EXPECT_EQ(result->body, R"({"resultStatus":100})");
  auto sent = gateway.waitForRequest("queryBalance");
  ASSERT_TRUE(sent);
  EXPECT_TRUE(sent->tls);

  // The plain listener runs beside the secure one.
  httplib::Client plain(gateway.httpUrl());
  ASSERT_TRUE(plain.Get("/"));
}

TEST(GatewayTls, CertificatesTheClientMustNotTrustAreRefused) {
  testing::ScratchDir dir;
  for (ServerCertificate certificate : {ServerCertificate::Untrusted, ServerCertificate::WrongHost}) {
    TestGateway gateway(GatewayOptions{.http = false, .tlsDir = dir.path(), .certificate = certificate});
    gateway.start();
    auto result = getOverTls(gateway, gateway.tlsFiles().caCertificate);
    EXPECT_FALSE(result);
    EXPECT_TRUE(gateway.requests().empty());
  }
}

TEST(GatewayTls, KeepsAUsableSetAndReplacesABrokenOne) {
  testing::ScratchDir dir;
  TlsFiles first = ensureTlsFiles(dir.path());
  auto caText = [&] {
    std::ifstream in(first.caCertificate);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  std::string ca = caText();
  ensureTlsFiles(dir.path());
  EXPECT_EQ(caText(), ca);
  EXPECT_EQ(std::filesystem::status(first.serverKey).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

  std::ofstream(first.serverCertificate) << "garbage";
  ensureTlsFiles(dir.path());
  EXPECT_NE(caText(), ca);
}

}  // namespace
}  // namespace testgateway
