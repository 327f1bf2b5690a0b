// Makes a fresh self-signed certificate (EC P-256 key, valid for 127.0.0.1
// and localhost) and installs it with its key into an OpenSSL server
// context. Called once per TLS listener start; no shared state.
#pragma once

#include <openssl/ssl.h>

namespace sample {

// False when OpenSSL could not make or install the certificate.
bool use_self_signed_certificate(SSL_CTX* context);

}  // namespace sample
