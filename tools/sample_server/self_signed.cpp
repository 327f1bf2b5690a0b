#include "sample_server/self_signed.h"

#include <openssl/evp.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <memory>

namespace sample {
namespace {

struct KeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct CertFree {
  void operator()(X509* cert) const { X509_free(cert); }
};
struct ExtensionFree {
  void operator()(X509_EXTENSION* ext) const { X509_EXTENSION_free(ext); }
};

bool add_extension(X509* cert, int nid, const char* value) {
  X509V3_CTX v3;
  X509V3_set_ctx_nodb(&v3);
  X509V3_set_ctx(&v3, cert, cert, nullptr, nullptr, 0);
  std::unique_ptr<X509_EXTENSION, ExtensionFree> ext(X509V3_EXT_conf_nid(nullptr, &v3, nid, value));
  return ext != nullptr && X509_add_ext(cert, ext.get(), -1) == 1;
}

}  // namespace

bool use_self_signed_certificate(SSL_CTX* context) {
  std::unique_ptr<EVP_PKEY, KeyFree> key(EVP_EC_gen("P-256"));
  std::unique_ptr<X509, CertFree> cert(X509_new());
  if (!key || !cert) return false;

  unsigned char serial[8];
  if (RAND_bytes(serial, sizeof serial) != 1) return false;
  serial[0] &= 0x7F;  // a positive serial number
  uint64_t serial_value = 0;
  for (unsigned char b : serial) serial_value = serial_value << 8 | b;

  X509_NAME* name = X509_get_subject_name(cert.get());
  bool ok = X509_set_version(cert.get(), 2) == 1 &&
            ASN1_INTEGER_set_uint64(X509_get_serialNumber(cert.get()), serial_value) == 1 &&
            X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600) != nullptr &&
            X509_gmtime_adj(X509_getm_notAfter(cert.get()), 30L * 24 * 3600) != nullptr &&
            X509_set_pubkey(cert.get(), key.get()) == 1 &&
            X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                                       reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1,
                                       0) == 1 &&
            X509_set_issuer_name(cert.get(), name) == 1 &&
            add_extension(cert.get(), NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost") &&
            add_extension(cert.get(), NID_basic_constraints, "critical,CA:FALSE") &&
            X509_sign(cert.get(), key.get(), EVP_sha256()) > 0;
  // The context takes its own references to the certificate and the key.
  return ok && SSL_CTX_use_certificate(context, cert.get()) == 1 &&
         SSL_CTX_use_PrivateKey(context, key.get()) == 1 && SSL_CTX_check_private_key(context) == 1;
}

}  // namespace sample
