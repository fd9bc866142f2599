#include "testgateway/tls_files.h"

#include <openssl/bn.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace testgateway {
namespace {

namespace fs = std::filesystem;

using KeyPtr = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using CertPtr = std::unique_ptr<X509, decltype(&X509_free)>;

constexpr long kDay = 24 * 60 * 60;

KeyPtr newKey() {
  KeyPtr key(EVP_EC_gen("P-256"), EVP_PKEY_free);
  if (!key) throw std::runtime_error("test key generation failed");
  return key;
}

void addExtension(X509* cert, X509* issuer, int nid, const char* value) {
  X509V3_CTX context;
  X509V3_set_ctx_nodb(&context);
  X509V3_set_ctx(&context, issuer, cert, nullptr, nullptr, 0);
  X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
  if (extension == nullptr) throw std::runtime_error("certificate extension failed");
  X509_add_ext(cert, extension, -1);
  X509_EXTENSION_free(extension);
}

struct CertificateSpec {
  std::string commonName;
  const char* subjectAltNames = nullptr;  // null for a CA
};

// A certificate for `key`, signed by issuer/issuerKey, or self-signed when issuer is null.
CertPtr newCertificate(const CertificateSpec& spec, EVP_PKEY* key, X509* issuer, EVP_PKEY* issuerKey) {
  CertPtr cert(X509_new(), X509_free);
  X509_set_version(cert.get(), 2);

  unsigned char serialBytes[16];
  RAND_bytes(serialBytes, sizeof serialBytes);
  serialBytes[0] &= 0x7f;  // a positive serial number
  BIGNUM* serial = BN_bin2bn(serialBytes, sizeof serialBytes, nullptr);
  BN_to_ASN1_INTEGER(serial, X509_get_serialNumber(cert.get()));
  BN_free(serial);

  X509_gmtime_adj(X509_getm_notBefore(cert.get()), -kDay);
  X509_gmtime_adj(X509_getm_notAfter(cert.get()), 3650 * kDay);
  X509_set_pubkey(cert.get(), key);

  X509_NAME* name = X509_get_subject_name(cert.get());
  X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("Korvex test"), -1, -1, 0);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>(spec.commonName.c_str()), -1, -1, 0);
  X509* signer = issuer != nullptr ? issuer : cert.get();
  X509_set_issuer_name(cert.get(), X509_get_subject_name(signer));

  bool isCa = spec.subjectAltNames == nullptr;
  addExtension(cert.get(), signer, NID_basic_constraints, isCa ? "critical,CA:TRUE" : "critical,CA:FALSE");
  addExtension(cert.get(), signer, NID_key_usage,
               isCa ? "critical,keyCertSign,cRLSign" : "critical,digitalSignature,keyEncipherment");
  addExtension(cert.get(), signer, NID_subject_key_identifier, "hash");
  if (issuer != nullptr) addExtension(cert.get(), signer, NID_authority_key_identifier, "keyid:always");
  if (!isCa) {
    addExtension(cert.get(), signer, NID_ext_key_usage, "serverAuth");
    addExtension(cert.get(), signer, NID_subject_alt_name, spec.subjectAltNames);
  }

  if (X509_sign(cert.get(), issuerKey != nullptr ? issuerKey : key, EVP_sha256()) == 0) {
    throw std::runtime_error("certificate signing failed");
  }
  return cert;
}

// Writes through a temporary file and a rename, so a reader never sees half a file.
template <typename Writer>
void writePem(const fs::path& path, bool secret, Writer write) {
  fs::path temporary = path;
  temporary += ".tmp";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot write " + path.string());
  if (secret) fs::permissions(temporary, fs::perms::owner_read | fs::perms::owner_write);
  bool ok = write(file) == 1;
  ok = std::fclose(file) == 0 && ok;
  if (!ok) throw std::runtime_error("cannot write " + path.string());
  fs::rename(temporary, path);
}

void writeCertificate(const fs::path& path, X509* cert) {
  writePem(path, false, [&](std::FILE* file) { return PEM_write_X509(file, cert); });
}

void writeKey(const fs::path& path, EVP_PKEY* key) {
  writePem(path, true, [&](std::FILE* file) {
    return PEM_write_PrivateKey(file, key, nullptr, nullptr, 0, nullptr, nullptr);
  });
}

// A certificate file that reads and stays valid for at least another day.
bool usableCertificate(const fs::path& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  CertPtr cert(PEM_read_X509(file, nullptr, nullptr, nullptr), X509_free);
  std::fclose(file);
  if (!cert) return false;
  time_t tomorrow = time(nullptr) + kDay;
  return X509_cmp_time(X509_get0_notAfter(cert.get()), &tomorrow) > 0;
}

TlsFiles namesIn(const fs::path& dir) {
  return TlsFiles{dir / "ca.pem",        dir / "server.pem",     dir / "server-key.pem", dir / "untrusted.pem",
                  dir / "untrusted-key.pem", dir / "wrong-host.pem", dir / "wrong-host-key.pem"};
}

bool usable(const TlsFiles& files) {
  for (const fs::path& cert : {files.caCertificate, files.serverCertificate, files.untrustedCertificate,
                               files.wrongHostCertificate}) {
    if (!usableCertificate(cert)) return false;
  }
  for (const fs::path& key : {files.serverKey, files.untrustedKey, files.wrongHostKey}) {
    if (!fs::exists(key)) return false;
  }
  return true;
}

}  // namespace

TlsFiles ensureTlsFiles(const fs::path& dir) {
  std::error_code error;
  fs::create_directories(dir, error);
  if (error) throw std::runtime_error("cannot create " + dir.string() + ": " + error.message());
  fs::permissions(dir, fs::perms::owner_all, error);

  TlsFiles files = namesIn(dir);
  if (usable(files)) return files;

  KeyPtr caKey = newKey();
  CertPtr ca = newCertificate({"Korvex Test CA"}, caKey.get(), nullptr, nullptr);

  KeyPtr serverKey = newKey();
  CertPtr server = newCertificate({"127.0.0.1", "IP:127.0.0.1,DNS:localhost"}, serverKey.get(), ca.get(), caKey.get());

  KeyPtr strangerKey = newKey();
  CertPtr stranger = newCertificate({"Unknown CA"}, strangerKey.get(), nullptr, nullptr);
  KeyPtr untrustedKey = newKey();
  CertPtr untrusted = newCertificate({"127.0.0.1", "IP:127.0.0.1,DNS:localhost"}, untrustedKey.get(),
                                     stranger.get(), strangerKey.get());

  KeyPtr wrongHostKey = newKey();
  CertPtr wrongHost =
      newCertificate({"wrong.host.invalid", "DNS:wrong.host.invalid"}, wrongHostKey.get(), ca.get(), caKey.get());

  writeKey(files.serverKey, serverKey.get());
  writeKey(files.untrustedKey, untrustedKey.get());
  writeKey(files.wrongHostKey, wrongHostKey.get());
  writeCertificate(files.serverCertificate, server.get());
  writeCertificate(files.untrustedCertificate, untrusted.get());
  writeCertificate(files.wrongHostCertificate, wrongHost.get());
  writeCertificate(files.caCertificate, ca.get());  // last: its presence marks a complete set
  return files;
}

}  // namespace testgateway
