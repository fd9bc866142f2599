// The client's headless tour: logs in with the demo account and walks the main screens (the
// login, the unpaid trades if the account has any, the desktop and a few of its pages), saving a
// screenshot of each.
#pragma once

#include <string>
#include <vector>

#include "client_driver.h"

namespace korvextour {

struct TourOptions {
  std::string screenshotDir;
  std::u16string account = u"demo@korvex.cn";
  std::u16string password = u"demo1234";
};

struct TourShot {
  std::string screen;
  std::string file;
};

struct TourResult {
  std::vector<TourShot> shots;
  // Empty when every screen was reached; else the screen that was not, and the window tree.
  std::string failure;
};

// Walks the screens of a started client.
TourResult RunTour(korvexdrive::ClientDriver& driver, const TourOptions& options);

}  // namespace korvextour
