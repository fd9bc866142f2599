// A seeded account that answers every gateway operation of the client, so each screen of the
// demo has something real to show. The data set is a readable JSON file
// (testgateway/demo/account.json); this class adds what a file cannot hold: passwords checked
// by decrypting them, fresh session keys, dates relative to today, filtered and paged lists,
// contacts that stay added, and the session cookie.
#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "testgateway/gateway_key.h"
#include "testgateway/recorded_request.h"
#include "testgateway/reply.h"
#include "testgateway/test_gateway.h"

namespace testgateway {

class DemoAccount {
 public:
  // `data` has the form of account.json; files it names are read from baseDir.
  // Throws std::runtime_error when a file is missing.
  DemoAccount(nlohmann::ordered_json data, std::filesystem::path baseDir, GatewayKey& key);

  Reply answer(const RecordedRequest& request);

  const nlohmann::ordered_json& data() const { return data_; }

 private:
  std::optional<Reply> checkPasswords(const RecordedRequest& request);
  Reply login(const RecordedRequest& request);
  // The reply of an operation without passwords to check; null for one the demo lacks.
  nlohmann::ordered_json replyFor(const RecordedRequest& request);
  nlohmann::ordered_json tradeList(const nlohmann::ordered_json& query) const;
  nlohmann::ordered_json transactionList(const nlohmann::ordered_json& query) const;
  nlohmann::ordered_json tradeDetail(const std::string& tradeNO) const;
  nlohmann::ordered_json nextMessage();
  void addContact(const RecordedRequest& request);
  bool passwordMatches(const RecordedRequest& request, const char* field, const std::string& expected);
  Reply refusal(const char* name, bool withCheckCode = false) const;

  nlohmann::ordered_json data_;
  std::filesystem::path baseDir_;
  GatewayKey& key_;
  std::string checkCodeImage_;  // Base64

  std::mutex mutex_;
  nlohmann::ordered_json contacts_;
  int failedLogins_ = 0;
  std::size_t messagesRead_ = 0;
};

// Makes the account answer whatever the gateway has no script for, and serves its pages.
std::shared_ptr<DemoAccount> installDemo(TestGateway& gateway, const std::filesystem::path& dataFile);
// The same with the data set already read (a test's variant of the file); files it names are
// read from baseDir.
std::shared_ptr<DemoAccount> installDemo(TestGateway& gateway, nlohmann::ordered_json data,
                                         const std::filesystem::path& baseDir);

}  // namespace testgateway
