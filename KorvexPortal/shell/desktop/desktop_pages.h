// The pages the desktop opens, one slot per kind. Each slot has one opener in desktop_pages.cpp:
// it makes the page (or reuses the kept one), shows it over the desktop and takes the slot's
// extra steps.
#pragma once

#include <array>
#include <functional>
#include <memory>

#include "base_dlg.h"
#include "service_results.h"

enum class DesktopSlot : int {
  kTransfer = 0,
  kAccountQuery = 1,
  kTradeQuery = 2,
  kRechargeHost = 3,
  kWithdrawal = 4,
  kPhoneRecharge = 5,
  kCardWizard = 6,
  kWebCentre = 7,
  kEntertainment = 8,
  kMessages = 9,
};
constexpr int kDesktopSlotCount = 10;

// The web centre and the entertainment pages are kept when another page opens, and reused.
inline bool IsKeptSlot(DesktopSlot slot)
{
  return slot == DesktopSlot::kWebCentre || slot == DesktopSlot::kEntertainment;
}

// What an opener is given, and what the card wizard reports back once its show returned.
struct DesktopPageContext {
  // The desktop's window: the owner of every page and the parent of the phone recharge page.
  HWND desktop = nullptr;
  // The command's lParam: the trade query's filter preset (4: unpaid trades).
  LPARAM commandParam = 0;
  // The withdrawal page's data (slot 4 only).
  const WithdrawInfo* withdrawal = nullptr;
  // Set by the card wizard's opener: the user must log in again / bind the phone first.
  bool logOut = false;
  bool bindPhone = false;
};

// Opens the slot's page: kept is the slot's page when it is one of the kept kinds (else null).
// Returns the page to keep in the slot, or null when it could not be made.
using DesktopPageOpener = std::function<CBaseDlg*(CBaseDlg* kept, DesktopPageContext& context)>;

struct DesktopPageOpeners {
  // The openers by slot; the withdrawal's (slot 4) is the pair below.
  std::array<DesktopPageOpener, kDesktopSlotCount> open;
  // The withdrawal page is made before its data is asked for, and shown once the data came
  // (context.withdrawal).
  std::function<CBaseDlg*()> createWithdrawal;
  std::function<void(CBaseDlg* page, DesktopPageContext& context)> showWithdrawal;
};

// The openers of the program's pages.
const DesktopPageOpeners& DefaultDesktopPageOpeners();
