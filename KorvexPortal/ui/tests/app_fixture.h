// The application object's tests: an application object whose screens and boxes are noted (each
// box answered by the test), and a facade that notes the operations it is asked for and whose
// answers the test gives its listeners.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "app_services.h"
#include "message_box_types.h"
#include "payment_service.h"
#include "testing/ui_harness.h"

namespace apptest {

inline std::string Narrow(const CStringW& text)
{
  return kvtest::Narrow(std::u16string(text.GetString()));
}

// Notes every box ("box(<text>,<type>,<shown after>)") and screen it is asked for.
class NotingApp : public CKorvexPortalApp {
 public:
  int ShowMessageBox(HWND, const CStringW& text, const CStringW&, UINT type, BOOL, int afterShow) override
  {
    Note("box(" + Narrow(text) + "," + std::to_string(type) + "," + (afterShow == SW_HIDE ? "hidden" : "shown") + ")");
    return answerBox ? answerBox(type) : (type == KV_BOX_WAIT ? 0 : KV_BOX_ANSWER_OK);
  }
  HWND GetMessageBoxWindow() const override { return nullptr; }
  int ShowLoginDlg(int) override { return Note("ShowLoginDlg"), -1; }
  int ShowDesktopDlg(int) override { return Note("ShowDesktopDlg"), -1; }
  int ShowQtoTDlg(int) override { return Note("ShowQtoTDlg"), -1; }
  int ShowBindPhoneDlg(int) override { return Note("ShowBindPhoneDlg"), -1; }
  void ShowPersonalInfoDlg(int backKey, int) override { Note("ShowPersonalInfoDlg(" + std::to_string(backKey) + ")"); }
  void DownloadUpdate(const CStringW& url) override
  {
    if (noteDownloads)
      Note("DownloadUpdate(" + Narrow(url) + ")");
    else
      CKorvexPortalApp::DownloadUpdate(url);
  }

  std::vector<std::string> Calls()
  {
    std::lock_guard<std::mutex> guard(lock_);
    return calls_;
  }
  void Note(const std::string& call)
  {
    std::lock_guard<std::mutex> guard(lock_);
    calls_.push_back(call);
  }

  // The answer of a box by its type; by default OK, and 0 (ended by a listener) for a wait.
  std::function<int(UINT type)> answerBox;
  bool noteDownloads = true;

 private:
  std::mutex lock_;
  std::vector<std::string> calls_;
};

// A facade whose operations start nothing: they note themselves and hand back a command (or
// none); the test then answers the registered listeners as the network worker would.
class NotingService : public CPaymentService {
 public:
  CServiceCommand* ConfirmMobilePay() override { return Started("confirmMobilePay"); }
  CServiceCommand* Update(const WCHAR* productID, const WCHAR* productVersion) override
  {
    return Started("update(" + Narrow(productID) + "," + Narrow(productVersion) + ")");
  }
  void Cancel(CServiceCommand* command) override
  {
    operations.push_back(command == Command() ? "cancel" : "cancel(other)");
  }
  void AddListener(IServiceListener* listener) override { listeners.push_back(listener); }
  void RemoveListener(IServiceListener* listener) override { std::erase(listeners, listener); }

  // Every registered listener hears the notification.
  void Notify(int code, HRESULT hr, LPARAM value, const WCHAR* memo)
  {
    for (IServiceListener* listener : std::vector<IServiceListener*>(listeners))
      listener->OnServiceNotify(code, hr, value, memo);
  }
  static CServiceCommand* Command()
  {
    static char command;
    return reinterpret_cast<CServiceCommand*>(&command);
  }

  bool makesCommand = true;
  // Run when an operation was asked for: an answer that comes before the wait box shows.
  std::function<void()> onStart;
  std::vector<std::string> operations;
  std::vector<IServiceListener*> listeners;

 private:
  CServiceCommand* Started(const std::string& operation)
  {
    operations.push_back(operation);
    if (onStart)
      onStart();
    return makesCommand ? Command() : nullptr;
  }
};

}  // namespace apptest
