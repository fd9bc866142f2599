// The objects behind HINTERNET values: the root handle, connections and requests. They live in
// the kernel's handle table (closed by InternetCloseHandle, never by CloseHandle), so a closed
// or stale handle fails cleanly. Each knows the handles made from it and closes them with it.
#pragma once

#include "base/errors.h"
#include "base/lasterror.h"
#include "engine.h"
#include "inet/internet.h"
#include "kernel/handle_table.h"
#include "kernel/object.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace inet {

class InternetObject : public kernel::Object, public std::enable_shared_from_this<InternetObject> {
 public:
  InternetObject(DWORD_PTR context, INTERNET_STATUS_CALLBACK callback) : context_(context), callback_(callback) {}
  bool ClosedByCloseHandle() const override { return false; }

  HINTERNET handle() const { return handle_; }
  DWORD_PTR context() const { return context_; }
  INTERNET_STATUS_CALLBACK callback() const { return callback_.load(); }
  INTERNET_STATUS_CALLBACK SetCallback(INTERNET_STATUS_CALLBACK callback) { return callback_.exchange(callback); }

  // Puts the object in the handle table as a child of parent (null for a root); returns its
  // handle, or null with the last error set.
  static HINTERNET Insert(std::shared_ptr<InternetObject> object, InternetObject* parent);

  // Closes the handles made from this one, then this object. Its handle is already out of the
  // table.
  void Close();

 protected:
  virtual void OnClose() {}

 private:
  void ForgetChild(HINTERNET child);

  HINTERNET handle_ = nullptr;
  DWORD_PTR context_;
  std::atomic<INTERNET_STATUS_CALLBACK> callback_;
  std::weak_ptr<InternetObject> parent_;
  std::mutex childrenMutex_;
  std::vector<HINTERNET> children_;
};

// The object a handle names when it is a T. Otherwise null, with ERROR_INVALID_HANDLE for a
// value that names no internet handle and ERROR_INTERNET_INCORRECT_HANDLE_TYPE for another kind.
template <class T>
std::shared_ptr<T> LookupInternet(HINTERNET handle)
{
  std::shared_ptr<InternetObject> object = std::dynamic_pointer_cast<InternetObject>(kernel::LookupHandle(handle));
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  std::shared_ptr<T> typed = std::dynamic_pointer_cast<T>(object);
  if (!typed) {
    SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
  }
  return typed;
}

// The root handle: the agent, the proxy and the library thread.
class InternetSession : public InternetObject {
 public:
  InternetSession(std::string agent, std::string proxy, std::shared_ptr<Engine> engine)
      : InternetObject(0, nullptr), agent(std::move(agent)), proxy(std::move(proxy)), engine(std::move(engine))
  {
  }
  const std::string agent;
  const std::string proxy;  // "host:port"; empty: direct
  const std::shared_ptr<Engine> engine;

 protected:
  void OnClose() override { engine->Stop(); }
};

// A connection handle: the server that requests made from it go to.
class ServerConnection : public InternetObject {
 public:
  ServerConnection(std::shared_ptr<InternetSession> session, std::string host, INTERNET_PORT port, DWORD_PTR context)
      : InternetObject(context, session->callback()), session(std::move(session)), host(std::move(host)), port(port)
  {
  }
  const std::shared_ptr<InternetSession> session;
  const std::string host;  // UTF-8
  const INTERNET_PORT port;
};

}  // namespace inet
