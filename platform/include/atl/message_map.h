// Message maps: a class lists the messages it handles between BEGIN_MSG_MAP and END_MSG_MAP;
// the macros expand to its ProcessWindowMessage, which returns TRUE with the result in lResult
// when a handler took the message. A handler that clears bHandled lets the map go on.
//
// Handler signatures:
//   MESSAGE_HANDLER, MESSAGE_RANGE_HANDLER: LRESULT (UINT uMsg, WPARAM, LPARAM, BOOL& bHandled)
//   COMMAND_*:                              LRESULT (WORD code, WORD id, HWND control, BOOL& bHandled)
//   NOTIFY_*:                               LRESULT (int id, LPNMHDR header, BOOL& bHandled)
#pragma once

#include "user/user.h"

// Reflected messages: a parent sends a child's notification back to the child as the message
// number plus OCM__BASE.
#define OCM__BASE (WM_USER + 0x1c00)
#define OCM_COMMAND (OCM__BASE + WM_COMMAND)
#define OCM_CTLCOLORBTN (OCM__BASE + WM_CTLCOLORBTN)
#define OCM_CTLCOLOREDIT (OCM__BASE + WM_CTLCOLOREDIT)
#define OCM_CTLCOLORDLG (OCM__BASE + WM_CTLCOLORDLG)
#define OCM_CTLCOLORLISTBOX (OCM__BASE + WM_CTLCOLORLISTBOX)
#define OCM_CTLCOLORMSGBOX (OCM__BASE + WM_CTLCOLORMSGBOX)
#define OCM_CTLCOLORSCROLLBAR (OCM__BASE + WM_CTLCOLORSCROLLBAR)
#define OCM_CTLCOLORSTATIC (OCM__BASE + WM_CTLCOLORSTATIC)
#define OCM_DRAWITEM (OCM__BASE + WM_DRAWITEM)
#define OCM_MEASUREITEM (OCM__BASE + WM_MEASUREITEM)
#define OCM_DELETEITEM (OCM__BASE + WM_DELETEITEM)
#define OCM_COMPAREITEM (OCM__BASE + WM_COMPAREITEM)
#define OCM_VKEYTOITEM (OCM__BASE + WM_VKEYTOITEM)
#define OCM_CHARTOITEM (OCM__BASE + WM_CHARTOITEM)
#define OCM_HSCROLL (OCM__BASE + WM_HSCROLL)
#define OCM_VSCROLL (OCM__BASE + WM_VSCROLL)
#define OCM_NOTIFY (OCM__BASE + WM_NOTIFY)

// The interface of every class with a message map.
class CMessageMap {
 public:
  virtual ~CMessageMap() = default;
  virtual BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                                    DWORD dwMsgMapID) = 0;
};

#define BEGIN_MSG_MAP(theClass)                                                                                   \
 public:                                                                                                           \
  BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,                  \
                            DWORD dwMsgMapID = 0)                                                                  \
  {                                                                                                                \
    BOOL bHandled = TRUE;                                                                                          \
    (void)hWnd;                                                                                                    \
    (void)uMsg;                                                                                                    \
    (void)wParam;                                                                                                  \
    (void)lParam;                                                                                                  \
    (void)lResult;                                                                                                 \
    (void)bHandled;                                                                                                \
    switch (dwMsgMapID) {                                                                                          \
    case 0:

#define ALT_MSG_MAP(msgMapID) \
  break;                      \
  case msgMapID:

#define END_MSG_MAP() \
  break;              \
  default:            \
    break;            \
    }                 \
    return FALSE;     \
    }

#define MESSAGE_HANDLER(msg, func)                       \
  if (uMsg == (msg)) {                                   \
    bHandled = TRUE;                                     \
    lResult = func(uMsg, wParam, lParam, bHandled);      \
    if (bHandled)                                        \
      return TRUE;                                       \
  }

#define MESSAGE_RANGE_HANDLER(msgFirst, msgLast, func)   \
  if (uMsg >= (msgFirst) && uMsg <= (msgLast)) {         \
    bHandled = TRUE;                                     \
    lResult = func(uMsg, wParam, lParam, bHandled);      \
    if (bHandled)                                        \
      return TRUE;                                       \
  }

#define ATL_COMMAND_CALL(func)                                                                        \
  {                                                                                                   \
    bHandled = TRUE;                                                                                  \
    lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled);         \
    if (bHandled)                                                                                     \
      return TRUE;                                                                                    \
  }

#define COMMAND_HANDLER(id, code, func)                                                           \
  if (uMsg == WM_COMMAND && LOWORD(wParam) == static_cast<WORD>(id) &&                            \
      HIWORD(wParam) == static_cast<WORD>(code))                                                  \
  ATL_COMMAND_CALL(func)

#define COMMAND_ID_HANDLER(id, func) \
  if (uMsg == WM_COMMAND && LOWORD(wParam) == static_cast<WORD>(id)) ATL_COMMAND_CALL(func)

#define COMMAND_CODE_HANDLER(code, func) \
  if (uMsg == WM_COMMAND && HIWORD(wParam) == static_cast<WORD>(code)) ATL_COMMAND_CALL(func)

#define COMMAND_RANGE_HANDLER(idFirst, idLast, func)                                                    \
  if (uMsg == WM_COMMAND && LOWORD(wParam) >= static_cast<WORD>(idFirst) &&                             \
      LOWORD(wParam) <= static_cast<WORD>(idLast))                                                      \
  ATL_COMMAND_CALL(func)

#define COMMAND_RANGE_CODE_HANDLER(idFirst, idLast, code, func)                                         \
  if (uMsg == WM_COMMAND && LOWORD(wParam) >= static_cast<WORD>(idFirst) &&                             \
      LOWORD(wParam) <= static_cast<WORD>(idLast) && HIWORD(wParam) == static_cast<WORD>(code))          \
  ATL_COMMAND_CALL(func)

#define ATL_NOTIFY_CALL(func)                                                                    \
  {                                                                                              \
    bHandled = TRUE;                                                                             \
    lResult = func(static_cast<int>(wParam), reinterpret_cast<LPNMHDR>(lParam), bHandled);       \
    if (bHandled)                                                                                \
      return TRUE;                                                                               \
  }

#define ATL_NOTIFY_HEADER() (reinterpret_cast<LPNMHDR>(lParam))

#define NOTIFY_HANDLER(id, cd, func)                                                                          \
  if (uMsg == WM_NOTIFY && ATL_NOTIFY_HEADER()->idFrom == static_cast<UINT_PTR>(id) &&                         \
      ATL_NOTIFY_HEADER()->code == static_cast<UINT>(cd))                                                      \
  ATL_NOTIFY_CALL(func)

#define NOTIFY_ID_HANDLER(id, func) \
  if (uMsg == WM_NOTIFY && ATL_NOTIFY_HEADER()->idFrom == static_cast<UINT_PTR>(id)) ATL_NOTIFY_CALL(func)

#define NOTIFY_CODE_HANDLER(cd, func) \
  if (uMsg == WM_NOTIFY && ATL_NOTIFY_HEADER()->code == static_cast<UINT>(cd)) ATL_NOTIFY_CALL(func)

#define NOTIFY_RANGE_HANDLER(idFirst, idLast, func)                                                           \
  if (uMsg == WM_NOTIFY && ATL_NOTIFY_HEADER()->idFrom >= static_cast<UINT_PTR>(idFirst) &&                    \
      ATL_NOTIFY_HEADER()->idFrom <= static_cast<UINT_PTR>(idLast))                                            \
  ATL_NOTIFY_CALL(func)

// Handlers of reflected notifications, in a child's map.
#define REFLECTED_COMMAND_HANDLER(id, code, func)                                                        \
  if (uMsg == OCM_COMMAND && LOWORD(wParam) == static_cast<WORD>(id) &&                                   \
      HIWORD(wParam) == static_cast<WORD>(code))                                                         \
  ATL_COMMAND_CALL(func)
#define REFLECTED_COMMAND_CODE_HANDLER(code, func) \
  if (uMsg == OCM_COMMAND && HIWORD(wParam) == static_cast<WORD>(code)) ATL_COMMAND_CALL(func)
#define REFLECTED_NOTIFY_CODE_HANDLER(cd, func) \
  if (uMsg == OCM_NOTIFY && ATL_NOTIFY_HEADER()->code == static_cast<UINT>(cd)) ATL_NOTIFY_CALL(func)

// Chaining: another class's map (a base class, or a member object's) handles what this one
// left, in its default map or an alternate one.
#define CHAIN_MSG_MAP(theChainClass)                                                     \
  {                                                                                      \
    if (theChainClass::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, 0))    \
      return TRUE;                                                                       \
  }
#define CHAIN_MSG_MAP_ALT(theChainClass, msgMapID)                                              \
  {                                                                                             \
    if (theChainClass::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, msgMapID))    \
      return TRUE;                                                                              \
  }
#define CHAIN_MSG_MAP_MEMBER(theChainMember)                                              \
  {                                                                                       \
    if ((theChainMember).ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, 0))   \
      return TRUE;                                                                        \
  }
#define CHAIN_MSG_MAP_ALT_MEMBER(theChainMember, msgMapID)                                       \
  {                                                                                              \
    if ((theChainMember).ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, msgMapID))   \
      return TRUE;                                                                               \
  }

// Reflection: notifications sent to this window go back to the child that sent them.
#define REFLECT_NOTIFICATIONS()                                   \
  {                                                               \
    bHandled = TRUE;                                              \
    lResult = this->ReflectNotifications(uMsg, wParam, lParam, bHandled); \
    if (bHandled)                                                 \
      return TRUE;                                                \
  }
// In a child: reflected messages it does not handle get the default procedure's handling of
// the original message.
#define DEFAULT_REFLECTION_HANDLER()                                                  \
  if (this->DefaultReflectionHandler(hWnd, uMsg, wParam, lParam, lResult))            \
    return TRUE;
// Notifications go on to this window's parent.
#define FORWARD_NOTIFICATIONS()                                             \
  {                                                                         \
    bHandled = TRUE;                                                        \
    lResult = this->ForwardNotifications(uMsg, wParam, lParam, bHandled);   \
    if (bHandled)                                                           \
      return TRUE;                                                          \
  }
