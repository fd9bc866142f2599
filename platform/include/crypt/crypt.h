// The device's cryptography: provider contexts, ASN.1 decoding of public-key information, RSA
// public-key encryption, and the class library's Base64.
#pragma once

#include "crypt/base64.h"
#include "crypt/errors.h"
#include "crypt/key.h"
#include "crypt/objectdecode.h"
#include "crypt/provider.h"
