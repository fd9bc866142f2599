#include "testgateway/test_gateway.h"

#include <openssl/ssl.h>
#include <sys/socket.h>
#include <sys/time.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <stdexcept>

#include "byte_stream.h"
#include "form_decoding.h"
#include "http_message.h"
#include "loopback_listener.h"
#include "text_codec.h"

namespace testgateway {

using detail::ByteStream;
using detail::HeaderList;
using detail::RequestHead;

namespace {

// What answers one operation or page.
struct Route {
  std::deque<Reply> sequence;
  std::optional<Reply> standing;
  TestGateway::Handler handler;
};

enum class Outcome { Answered, Closed, ClientGone };

RecordedRequest decodeRequest(const RequestHead& head, std::string body) {
  RecordedRequest request;
  request.method = head.method;
  request.target = head.target;
  auto question = head.target.find('?');
  request.path = head.target.substr(0, question);
  if (question != std::string::npos) request.query = head.target.substr(question + 1);
  if (!request.query.empty()) request.queryForm = detail::decodeForm(request.query);
  request.version = head.version;
  request.headers = head.headers;
  for (const auto& [name, value] : head.headers) {
    if (detail::equalsIgnoringCase(name, "Cookie")) detail::addCookies(value, request.cookies);
  }
  request.body = std::move(body);

  if (detail::containsIgnoringCase(head.header("Content-Type"), "application/x-www-form-urlencoded")) {
    request.form = detail::decodeForm(request.body);
  }
  for (const auto& [name, value] : request.form) {
    if (name == "requestData") {
      request.requestData = value;
      break;
    }
  }
  if (request.requestData) {
    auto parsed = nlohmann::ordered_json::parse(*request.requestData, nullptr, false);
    if (!parsed.is_discarded()) {
      request.json = std::move(parsed);
      request.operation = request.field("operationType");
    }
  }
  return request;
}

// Answers a request the gateway refuses; the connection ends after it unless it is kept alive.
void refuse(ByteStream& stream, int status, bool keepAlive) {
  HeaderList headers{{"Content-Type", "text/plain"}};
  if (status == 405) headers.emplace_back("Allow", "POST");
  if (!keepAlive) headers.emplace_back("Connection", "close");
  std::string body = status == 405 ? "the service path takes POST only" : "malformed request";
  if (stream.writeAll(detail::formatResponse(status, headers, body)) && !keepAlive) stream.finish();
}

// Answers a malformed request with 400, then stops sending and reads on (for a moment) what the
// client still sends, so that closing with its bytes unread does not reset the connection
// before the client has read the answer.
void refuseMalformed(ByteStream& stream, int fd) {
  constexpr std::size_t kMostDrained = 1 << 20;
  refuse(stream, 400, false);
  ::shutdown(fd, SHUT_WR);
  timeval moment{1, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &moment, sizeof moment);
  char sink[4096];
  for (std::size_t drained = 0; drained < kMostDrained;) {
    ssize_t n = ::recv(fd, sink, sizeof sink, 0);
    if (n <= 0) break;
    drained += static_cast<std::size_t>(n);
  }
}

}  // namespace

struct TestGateway::Impl {
  explicit Impl(GatewayOptions o) : options(std::move(o)), key(options.rsaBits) {}

  void start();
  void stop();
  void serveConnection(int fd, bool tls);
  // Records the request; also returns the release generation it arrived in.
  std::pair<RecordedRequest, std::uint64_t> record(const RequestHead& head, std::string body,
                                                   std::uint64_t connection, bool tls);
  Reply choose(const RecordedRequest& request);
  Outcome perform(const Reply& reply, ByteStream& stream, int fd, bool keepAlive, std::uint64_t generation);
  bool holdUntilReleased(int fd, std::uint64_t generation);
  void noteAbandoned();
  std::optional<RecordedRequest> waitForNth(std::function<bool(const RecordedRequest&)> matches, std::size_t count,
                                            std::chrono::milliseconds timeout) const;

  GatewayOptions options;
  GatewayKey key;
  TlsFiles tlsFiles;
  SSL_CTX* sslContext = nullptr;
  std::unique_ptr<detail::LoopbackListener> httpListener;
  std::unique_ptr<detail::LoopbackListener> httpsListener;
  std::atomic<std::uint64_t> connectionSerial{0};
  std::atomic<bool> stopping{false};

  mutable std::mutex mutex;
  mutable std::condition_variable changed;
  std::map<std::string, Route, std::less<>> operations;
  std::map<std::string, Route, std::less<>> pages;
  Handler fallback;
  std::vector<RecordedRequest> records;
  std::uint64_t nextIndex = 0;
  std::uint64_t releaseGeneration = 0;
  std::size_t stalled = 0;
  std::uint64_t abandoned = 0;
};

void TestGateway::Impl::start() {
  stopping = false;
  if (options.tlsDir) {
    tlsFiles = ensureTlsFiles(*options.tlsDir);
    const std::filesystem::path* cert = &tlsFiles.serverCertificate;
    const std::filesystem::path* privateKey = &tlsFiles.serverKey;
    if (options.certificate == ServerCertificate::Untrusted) {
      cert = &tlsFiles.untrustedCertificate;
      privateKey = &tlsFiles.untrustedKey;
    } else if (options.certificate == ServerCertificate::WrongHost) {
      cert = &tlsFiles.wrongHostCertificate;
      privateKey = &tlsFiles.wrongHostKey;
    }
    sslContext = SSL_CTX_new(TLS_server_method());
    if (sslContext == nullptr || SSL_CTX_use_certificate_chain_file(sslContext, cert->c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(sslContext, privateKey->c_str(), SSL_FILETYPE_PEM) != 1 ||
        SSL_CTX_check_private_key(sslContext) != 1) {
      throw std::runtime_error("cannot load the certificate " + cert->string());
    }
    httpsListener = std::make_unique<detail::LoopbackListener>([this](int fd, std::uint64_t) {
      serveConnection(fd, true);
    });
    httpsListener->start(options.httpsPort);
  }
  if (options.http) {
    httpListener = std::make_unique<detail::LoopbackListener>([this](int fd, std::uint64_t) {
      serveConnection(fd, false);
    });
    httpListener->start(options.httpPort);
  }
}

void TestGateway::Impl::stop() {
  {
    std::lock_guard lock(mutex);
    stopping = true;
  }
  changed.notify_all();
  if (httpListener) httpListener->stop();
  if (httpsListener) httpsListener->stop();
  if (sslContext != nullptr) {
    SSL_CTX_free(sslContext);
    sslContext = nullptr;
  }
}

void TestGateway::Impl::serveConnection(int fd, bool tls) {
  std::uint64_t connection = ++connectionSerial;
  // Reads that wait longer than the idle time-out fail, which ends the connection.
  auto idle = std::chrono::duration_cast<std::chrono::microseconds>(options.idleTimeout).count();
  timeval timeout{static_cast<time_t>(idle / 1000000), static_cast<suseconds_t>(idle % 1000000)};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  std::unique_ptr<ByteStream> stream;
  if (tls) {
    auto tlsStream = std::make_unique<detail::TlsStream>(sslContext, fd);
    if (!tlsStream->accept()) return;
    stream = std::move(tlsStream);
  } else {
    stream = std::make_unique<detail::SocketStream>(fd);
  }
  detail::RequestReader reader(*stream);
  for (;;) {
    auto head = reader.readHead();
    if (!head) {
      if (reader.malformed()) refuseMalformed(*stream, fd);
      return;
    }
    if (detail::equalsIgnoringCase(head->header("Expect"), "100-continue") && head->version == "HTTP/1.1" &&
        !stream->writeAll("HTTP/1.1 100 Continue\r\n\r\n")) {
      return;
    }
    auto body = reader.readBody(*head);
    if (!body) {
      if (reader.malformed()) refuseMalformed(*stream, fd);
      return;
    }
    bool keepAlive = head->keepAlive();
    if (head->method != "POST" && head->target.substr(0, head->target.find('?')) == kRequestPath) {
      refuse(*stream, 405, keepAlive);
      if (!keepAlive) return;
      continue;
    }
    auto [request, generation] = record(*head, std::move(*body), connection, tls);
    Outcome outcome = perform(choose(request), *stream, fd, keepAlive, generation);
    if (outcome != Outcome::Answered) {
      ::shutdown(fd, SHUT_RDWR);
      return;
    }
    if (!keepAlive) {
      stream->finish();
      return;
    }
  }
}

std::pair<RecordedRequest, std::uint64_t> TestGateway::Impl::record(const RequestHead& head, std::string body,
                                                                    std::uint64_t connection, bool tls) {
  RecordedRequest request = decodeRequest(head, std::move(body));
  request.connection = connection;
  request.tls = tls;
  std::uint64_t generation;
  {
    std::lock_guard lock(mutex);
    request.index = nextIndex++;
    generation = releaseGeneration;
    records.push_back(request);
  }
  changed.notify_all();
  return {std::move(request), generation};
}

Reply TestGateway::Impl::choose(const RecordedRequest& request) {
  bool isOperation = request.path == kRequestPath;
  const std::string& name = isOperation ? request.operation : request.path;
  Handler handler;
  {
    std::lock_guard lock(mutex);
    auto& table = isOperation ? operations : pages;
    auto found = table.find(name);
    if (found != table.end()) {
      Route& route = found->second;
      if (!route.sequence.empty()) {
        Reply next = std::move(route.sequence.front());
        route.sequence.pop_front();
        return next;
      }
      if (route.standing) return *route.standing;
      handler = route.handler;
    }
    if (!handler && !(isOperation && name == "getRSAPKey")) handler = fallback;
  }
  if (handler) {
    try {
      return handler(request);
    } catch (const std::exception& error) {  // a faulty script answers, it does not end the gateway
      return Reply::http(500, std::string("the reply handler failed: ") + error.what());
    }
  }
  if (isOperation && name == "getRSAPKey") return Reply::success(key.sessionKey());
  if (isOperation) return Reply::result(9999, "unscripted operation " + name);
  return Reply::http(404, "no page at " + request.path);
}

void TestGateway::Impl::noteAbandoned() {
  {
    std::lock_guard lock(mutex);
    ++abandoned;
  }
  changed.notify_all();
}

// Holds a stalled request until a release after its arrival (true), or until the client goes
// away or the gateway stops (false). Counting from the arrival lets a test release a request
// as soon as it has seen it recorded.
bool TestGateway::Impl::holdUntilReleased(int fd, std::uint64_t generation) {
  {
    std::lock_guard lock(mutex);
    ++stalled;
  }
  changed.notify_all();
  bool gone = detail::waitForPeerClose(fd, [&] {
    std::lock_guard lock(mutex);
    return releaseGeneration != generation || stopping;
  });
  {
    std::lock_guard lock(mutex);
    --stalled;
    if (gone) ++abandoned;
  }
  changed.notify_all();
  return !gone && !stopping;
}

Outcome TestGateway::Impl::perform(const Reply& reply, ByteStream& stream, int fd, bool keepAlive,
                                   std::uint64_t generation) {
  if (reply.delay.count() > 0) {
    auto deadline = std::chrono::steady_clock::now() + reply.delay;
    if (detail::waitForPeerClose(fd, [&] { return stopping || std::chrono::steady_clock::now() >= deadline; })) {
      noteAbandoned();
      return Outcome::ClientGone;
    }
    if (stopping) return Outcome::Closed;
  }
  if (reply.action == Action::Close) return Outcome::Closed;
  if (reply.action == Action::Stall && !holdUntilReleased(fd, generation)) return Outcome::ClientGone;

  int status = reply.httpStatus;
  std::string body = reply.body;
  HeaderList headers;
  if (!reply.contentType.empty()) headers.emplace_back("Content-Type", reply.contentType);
  if (reply.encoding == BodyEncoding::Gbk) {
    auto converted = detail::utf8ToGbk(reply.body);
    if (converted) {
      body = std::move(*converted);
    } else {
      status = 500;
      body = "the scripted reply cannot be written in GBK";
    }
  }
  for (const auto& cookie : reply.setCookies) headers.emplace_back("Set-Cookie", cookie);
  headers.insert(headers.end(), reply.headers.begin(), reply.headers.end());
  if (!keepAlive) headers.emplace_back("Connection", "close");
  return stream.writeAll(detail::formatResponse(status, headers, body)) ? Outcome::Answered : Outcome::Closed;
}

std::optional<RecordedRequest> TestGateway::Impl::waitForNth(std::function<bool(const RecordedRequest&)> matches,
                                                             std::size_t count,
                                                             std::chrono::milliseconds timeout) const {
  std::optional<RecordedRequest> found;
  std::unique_lock lock(mutex);
  changed.wait_for(lock, timeout, [&] {
    std::size_t seen = 0;
    for (const auto& request : records) {
      if (matches(request) && ++seen == count) {
        found = request;
        return true;
      }
    }
    return false;
  });
  return found;
}

TestGateway::TestGateway() : TestGateway(GatewayOptions{}) {}

TestGateway::TestGateway(GatewayOptions options) : impl_(std::make_unique<Impl>(std::move(options))) {}

TestGateway::~TestGateway() { stop(); }

void TestGateway::start() { impl_->start(); }

void TestGateway::stop() { impl_->stop(); }

std::string TestGateway::url() const { return impl_->httpsListener ? httpsUrl() : httpUrl(); }

std::string TestGateway::httpUrl() const { return "http://127.0.0.1:" + std::to_string(httpPort()); }

std::string TestGateway::httpsUrl() const { return "https://127.0.0.1:" + std::to_string(httpsPort()); }

std::string TestGateway::requestUrl() const { return url() + kRequestPath; }

std::uint16_t TestGateway::httpPort() const { return impl_->httpListener ? impl_->httpListener->port() : 0; }

std::uint16_t TestGateway::httpsPort() const { return impl_->httpsListener ? impl_->httpsListener->port() : 0; }

const TlsFiles& TestGateway::tlsFiles() const { return impl_->tlsFiles; }

void TestGateway::script(const std::string& operation, Reply reply) {
  std::lock_guard lock(impl_->mutex);
  Route& route = impl_->operations[operation];
  route.standing = std::move(reply);
  route.handler = nullptr;
}

void TestGateway::scriptSequence(const std::string& operation, std::vector<Reply> replies) {
  std::lock_guard lock(impl_->mutex);
  Route& route = impl_->operations[operation];
  std::move(replies.begin(), replies.end(), std::back_inserter(route.sequence));
}

void TestGateway::scriptHandler(const std::string& operation, Handler handler) {
  std::lock_guard lock(impl_->mutex);
  Route& route = impl_->operations[operation];
  route.standing.reset();
  route.handler = std::move(handler);
}

void TestGateway::servePage(const std::string& path, Reply reply) {
  std::lock_guard lock(impl_->mutex);
  Route& route = impl_->pages[path];
  route.standing = std::move(reply);
  route.handler = nullptr;
}

void TestGateway::servePageHandler(const std::string& path, Handler handler) {
  std::lock_guard lock(impl_->mutex);
  Route& route = impl_->pages[path];
  route.standing.reset();
  route.handler = std::move(handler);
}

void TestGateway::serveFile(const std::string& path, const std::filesystem::path& file, std::string contentType) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  servePage(path, Reply::http(200, std::move(bytes), std::move(contentType)));
}

void TestGateway::setFallback(Handler handler) {
  std::lock_guard lock(impl_->mutex);
  impl_->fallback = std::move(handler);
}

void TestGateway::clearScripts() {
  std::lock_guard lock(impl_->mutex);
  impl_->operations.clear();
  impl_->pages.clear();
  impl_->fallback = nullptr;
}

void TestGateway::releaseStalled() {
  {
    std::lock_guard lock(impl_->mutex);
    ++impl_->releaseGeneration;
  }
  impl_->changed.notify_all();
}

std::size_t TestGateway::stalledCount() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->stalled;
}

std::uint64_t TestGateway::abandonedCount() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->abandoned;
}

bool TestGateway::waitForAbandoned(std::uint64_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(impl_->mutex);
  return impl_->changed.wait_for(lock, timeout, [&] { return impl_->abandoned >= count; });
}

std::vector<RecordedRequest> TestGateway::requests() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->records;
}

std::vector<RecordedRequest> TestGateway::requestsOf(std::string_view operation) const {
  std::lock_guard lock(impl_->mutex);
  std::vector<RecordedRequest> matching;
  for (const auto& request : impl_->records) {
    if (request.path == kRequestPath && request.operation == operation) matching.push_back(request);
  }
  return matching;
}

std::optional<RecordedRequest> TestGateway::waitForRequest(std::string_view operation, std::size_t count,
                                                           std::chrono::milliseconds timeout) const {
  return impl_->waitForNth(
      [&](const RecordedRequest& r) { return r.path == kRequestPath && r.operation == operation; }, count, timeout);
}

std::optional<RecordedRequest> TestGateway::waitForPath(std::string_view path, std::size_t count,
                                                        std::chrono::milliseconds timeout) const {
  return impl_->waitForNth([&](const RecordedRequest& r) { return r.path == path; }, count, timeout);
}

void TestGateway::clearRequests() {
  std::lock_guard lock(impl_->mutex);
  impl_->records.clear();
}

std::uint64_t TestGateway::connectionsAccepted() const {
  std::uint64_t count = 0;
  if (impl_->httpListener) count += impl_->httpListener->accepted();
  if (impl_->httpsListener) count += impl_->httpsListener->accepted();
  return count;
}

std::uint64_t TestGateway::acceptFailures() const {
  std::uint64_t count = 0;
  if (impl_->httpListener) count += impl_->httpListener->acceptFailures();
  if (impl_->httpsListener) count += impl_->httpsListener->acceptFailures();
  return count;
}

GatewayKey& TestGateway::key() { return impl_->key; }

}  // namespace testgateway
