// A seeded account that answers every gateway operation of the client, so each screen of the
// demo has something real to show. The data set is a readable JSON file
// (testgateway/demo/account.json); this class adds what a file cannot hold: passwords checked
// by decrypting them, fresh session keys, dates relative to today, filtered and paged lists,
// contacts that stay added, the session cookie, a balance that payments and top-ups move (with
// a transaction recorded, and paid trades leaving the unpaid list) and the offer of a newer
// package. Everything that changes lives in memory for one gateway run.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
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
  // `data` has the form of account.json; files it names are read from baseDir. With
  // `offersUpdate`, "update" offers the data set's newer version to an older client (the
  // package itself is served by installDemo). Throws std::runtime_error when a file is missing
  // or the data set lacks what the account reads.
  DemoAccount(nlohmann::ordered_json data, std::filesystem::path baseDir, GatewayKey& key, bool offersUpdate = false);

  Reply answer(const RecordedRequest& request);

  // The reply with the live values in place of "{gateway}" (the address the client used),
  // "{currentBalance}" and "{availableBalance}".
  nlohmann::ordered_json withLiveValues(const nlohmann::ordered_json& reply, const RecordedRequest& request);

 private:
  struct PendingTransfer {
    std::int64_t fen = 0;
    std::string payee;
  };
  struct VerifiedOrder {
    std::int64_t fen = 0;
    std::string goods;
  };
  // The merchant's order a "preOrderPay" carries: its number, amount and goods as sent.
  struct SentOrder {
    std::string number;
    std::string amount;
    std::string goods;
  };
  static SentOrder orderSent(const RecordedRequest& request);

  std::optional<Reply> checkPasswords(const RecordedRequest& request);
  // Moves the money and the trade states of a payment or a top-up; a refusal when it cannot.
  std::optional<Reply> settle(const RecordedRequest& request);
  std::optional<Reply> settleTrade(const RecordedRequest& request);
  std::optional<Reply> settleOrder(const RecordedRequest& request);
  std::optional<Reply> pay(std::int64_t fen, const std::string& type, const std::string& institution,
                           const std::string& memo);
  std::optional<Reply> credit(std::int64_t fen, const std::string& type, const std::string& institution,
                              const std::string& memo);
  // A transaction of today, first in the account's list.
  void record(std::int64_t signedFen, const std::string& type, const std::string& institution, const std::string& memo);
  std::string filledIn(std::string text, const RecordedRequest& request) const;
  Reply login(const RecordedRequest& request);
  // The reply of an operation without passwords to check; null for one the demo lacks.
  nlohmann::ordered_json replyFor(const RecordedRequest& request);
  nlohmann::ordered_json tradeList(const nlohmann::ordered_json& query) const;
  nlohmann::ordered_json transactionList(const nlohmann::ordered_json& query) const;
  nlohmann::ordered_json tradeDetail(const std::string& tradeNO) const;
  nlohmann::ordered_json* findTrade(const std::string& tradeNO);
  bool isUnpaid(const nlohmann::ordered_json& trade) const;
  bool updateOfferedTo(const RecordedRequest& request) const;
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
  bool offersUpdate_ = false;
  std::int64_t currentBalance_ = 0;  // fen
  std::int64_t availableBalance_ = 0;
  std::optional<PendingTransfer> transfer_;  // the last "p2pPrePay", until "p2pPay" pays it
  std::map<std::string, VerifiedOrder> orders_;  // verified merchant orders by number, until paid
  std::string paidOrderData_;                    // what the last paid order hands the merchant
};

// Makes the account answer whatever the gateway has no script for, and serves its pages. With
// an update package, serves it at the data set's "update" "path" and offers it.
std::shared_ptr<DemoAccount> installDemo(TestGateway& gateway, const std::filesystem::path& dataFile,
                                         const std::optional<std::filesystem::path>& updatePackage = std::nullopt);
// The same with the data set already read (a test's variant of the file); files it names are
// read from baseDir.
std::shared_ptr<DemoAccount> installDemoData(TestGateway& gateway, nlohmann::ordered_json data,
                                             const std::filesystem::path& baseDir,
                                             const std::optional<std::filesystem::path>& updatePackage = std::nullopt);

}  // namespace testgateway
