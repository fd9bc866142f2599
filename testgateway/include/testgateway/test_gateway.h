// A scripted stand-in for the service's gateway, on 127.0.0.1 over HTTP and HTTPS.
//
// Requests to "/home/mobile.htm" are answered per "operationType" of their decoded
// "requestData" JSON (another method than POST there gets 405); requests to other paths are
// answered from a page table. A malformed request gets 400 and the connection is closed. Every request
// is recorded decoded, and tests wait for the ones they expect. The gateway holds the RSA key
// whose public half it hands out for "getRSAPKey", so tests can decrypt the passwords sent.
//
//   TestGateway gw;                                   // plain HTTP, ephemeral port
//   gw.script("queryBalance", Reply::success({{"currentBalance", "12.00"}}));
//   gw.start();
//   ... the client sends to gw.requestUrl() ...
//   auto sent = gw.waitForRequest("queryBalance");    // std::optional<RecordedRequest>
//   EXPECT_EQ(sent->field("clientID"), "...");
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "testgateway/gateway_key.h"
#include "testgateway/recorded_request.h"
#include "testgateway/reply.h"
#include "testgateway/tls_files.h"

namespace testgateway {

inline constexpr const char* kRequestPath = "/home/mobile.htm";
inline constexpr std::chrono::milliseconds kGenerousWait{30000};

// The certificate the HTTPS listener presents.
enum class ServerCertificate {
  Trusted,    // signed by the test CA for 127.0.0.1 and localhost
  Untrusted,  // for 127.0.0.1, signed by a CA the client does not know
  WrongHost,  // signed by the test CA for another host name
};

struct GatewayOptions {
  bool http = true;                             // a plain HTTP listener
  std::optional<std::filesystem::path> tlsDir;  // an HTTPS listener too, certificates kept here
  ServerCertificate certificate = ServerCertificate::Trusted;
  std::uint16_t httpPort = 0;                   // 0: an ephemeral port
  std::uint16_t httpsPort = 0;
  int rsaBits = 1024;
  // A connection that sends nothing for this long while a request is awaited is closed.
  std::chrono::milliseconds idleTimeout{30000};
};

class TestGateway {
 public:
  using Handler = std::function<Reply(const RecordedRequest&)>;

  TestGateway();
  explicit TestGateway(GatewayOptions options);
  ~TestGateway();
  TestGateway(const TestGateway&) = delete;
  TestGateway& operator=(const TestGateway&) = delete;

  // Opens the listeners. Throws std::system_error or std::runtime_error.
  void start();
  // Closes the listeners and every connection, releasing held requests unanswered.
  void stop();

  std::string url() const;         // the HTTPS one when there is one, else the HTTP one
  std::string httpUrl() const;     // "http://127.0.0.1:<port>"
  std::string httpsUrl() const;    // "https://127.0.0.1:<port>"
  std::string requestUrl() const;  // url() + "/home/mobile.htm"
  std::uint16_t httpPort() const;
  std::uint16_t httpsPort() const;
  const TlsFiles& tlsFiles() const;  // valid with a tlsDir

  // Scripts for "/home/mobile.htm", per operation. A request takes the next reply of its
  // operation's sequence while there is one, else the standing reply or handler, else the
  // built-in answer ("getRSAPKey" hands out the key), else the fallback, else
  // {"resultStatus": 9999, "memo": "unscripted operation <name>"}.
  void script(const std::string& operation, Reply reply);  // standing reply
  void scriptSequence(const std::string& operation, std::vector<Reply> replies);  // appended
  void scriptHandler(const std::string& operation, Handler handler);  // standing handler

  // Pages and files under other paths (any method); unknown paths get 404.
  void servePage(const std::string& path, Reply reply);
  void servePageHandler(const std::string& path, Handler handler);
  void serveFile(const std::string& path, const std::filesystem::path& file, std::string contentType);

  // Answers what nothing else answers (the demo account installs one).
  void setFallback(Handler handler);
  void clearScripts();

  // Held requests ("stall"): every request that arrived before this call, held now or about
  // to be, answers with its reply.
  void releaseStalled();
  std::size_t stalledCount() const;
  // Held or delayed requests whose client closed the connection before the answer.
  std::uint64_t abandonedCount() const;
  bool waitForAbandoned(std::uint64_t count, std::chrono::milliseconds timeout = kGenerousWait) const;

  std::vector<RecordedRequest> requests() const;
  std::vector<RecordedRequest> requestsOf(std::string_view operation) const;
  // The count-th request (from 1) of the operation, waiting until it has arrived.
  std::optional<RecordedRequest> waitForRequest(std::string_view operation, std::size_t count = 1,
                                                std::chrono::milliseconds timeout = kGenerousWait) const;
  // Likewise for a path ("/puc/webMC.htm").
  std::optional<RecordedRequest> waitForPath(std::string_view path, std::size_t count = 1,
                                             std::chrono::milliseconds timeout = kGenerousWait) const;
  void clearRequests();

  // TCP connections accepted on both listeners since start.
  std::uint64_t connectionsAccepted() const;
  // Connections that could not be taken for want of descriptors, memory or threads; the
  // gateway logs the first of a run on standard error and goes on accepting.
  std::uint64_t acceptFailures() const;

  GatewayKey& key();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace testgateway
