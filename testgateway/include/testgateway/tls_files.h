// Certificates for the test gateway, generated at run time: a test CA that tests and the demo
// trust through the device settings, a server certificate it signed for 127.0.0.1 and
// localhost, and two that a verifying client must refuse.
#pragma once

#include <filesystem>

namespace testgateway {

struct TlsFiles {
  std::filesystem::path caCertificate;         // ca.pem: the CA to trust
  std::filesystem::path serverCertificate;     // server.pem: signed by the CA, 127.0.0.1 and localhost
  std::filesystem::path serverKey;             // server-key.pem
  std::filesystem::path untrustedCertificate;  // untrusted.pem: 127.0.0.1, signed by an unknown CA
  std::filesystem::path untrustedKey;          // untrusted-key.pem
  std::filesystem::path wrongHostCertificate;  // wrong-host.pem: signed by the CA for another host
  std::filesystem::path wrongHostKey;          // wrong-host-key.pem
};

// The files in `dir` (created owner-only when missing). Files that are all present and
// readable are kept, so a demo's device settings stay valid between runs; otherwise a new
// set is generated. Throws std::runtime_error when they cannot be written.
TlsFiles ensureTlsFiles(const std::filesystem::path& dir);

}  // namespace testgateway
