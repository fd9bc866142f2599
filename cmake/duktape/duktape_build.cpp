// The script engine compiled from the package's source with the project's additions
// (kv_duktape.h): execution-time checks and C++ exceptions.
#define DUK_COMPILING_DUKTAPE
#include <duk_config.h>

#include <exception>
#include <stdexcept>

#include "kv_duktape.h"

#define DUK_USE_INTERRUPT_COUNTER
#define DUK_USE_CPP_EXCEPTIONS
#define DUK_USE_EXEC_TIMEOUT_CHECK(udata) kv_duktape_exec_timeout(udata)

static int kv_duktape_exec_timeout(void* udata)
{
  auto* budget = static_cast<kv_duktape_budget*>(udata);
  return budget && budget->expired && budget->expired(budget);
}

#include KV_DUKTAPE_SOURCE
