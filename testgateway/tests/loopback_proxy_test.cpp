// The loopback proxy carries absolute-URI requests and CONNECT tunnels to the gateway.
#include <gtest/gtest.h>

#include "test_support.h"
#include "testgateway/loopback_proxy.h"
#include "testgateway/test_gateway.h"

namespace testgateway {
namespace {

class LoopbackProxyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gateway.script("queryBalance", Reply::success());
    gateway.start();
    proxy.start();
  }

  testing::ScratchDir dir;
  TestGateway gateway{GatewayOptions{.tlsDir = dir.path()}};
  LoopbackProxy proxy;
};

TEST_F(LoopbackProxyTest, ForwardsAbsoluteUriRequests) {
  httplib::Client client(gateway.httpUrl());
  client.set_proxy("127.0.0.1", proxy.port());
  auto result = testing::postOperation(client, R"({"operationType":"queryBalance"})");
  ASSERT_TRUE(result) << httplib::to_string(result.error());
  EXPECT_EQ(result->body, R"({"resultStatus":100})");
  EXPECT_EQ(proxy.requestCount(), 1u);
  EXPECT_EQ(proxy.requestLines().at(0), "POST " + gateway.httpUrl() + "/home/mobile.htm HTTP/1.1");
  auto sent = gateway.waitForRequest("queryBalance");
  ASSERT_TRUE(sent);
  EXPECT_EQ(sent->target, "/home/mobile.htm");
}

TEST_F(LoopbackProxyTest, TunnelsConnectRequests) {
  httplib::SSLClient client("127.0.0.1", gateway.httpsPort());
  client.set_ca_cert_path(gateway.tlsFiles().caCertificate.c_str());
  client.enable_server_certificate_verification(true);
  client.set_proxy("127.0.0.1", proxy.port());
  auto result = testing::postOperation(client, R"({"operationType":"queryBalance"})");
  ASSERT_TRUE(result) << httplib::to_string(result.error());
  EXPECT_EQ(result->body, R"({"resultStatus":100})");
  EXPECT_EQ(proxy.requestLines().at(0), "CONNECT 127.0.0.1:" + std::to_string(gateway.httpsPort()) + " HTTP/1.1");
  EXPECT_TRUE(gateway.waitForRequest("queryBalance"));
}

TEST_F(LoopbackProxyTest, RefusesTargetsOffTheLoopback) {
  httplib::Client client("127.0.0.1", proxy.port());
  for (const char* target : {"http://192.0.2.1/x", "http://example.invalid/x", "/relative"}) {
    auto result = client.Get(target);
    ASSERT_TRUE(result);
    EXPECT_GE(result->status, 400) << target;
  }
  EXPECT_EQ(proxy.requestCount(), 3u);
  EXPECT_TRUE(gateway.requests().empty());
}

}  // namespace
}  // namespace testgateway
