// Message maps: routing of messages, commands and notifications to handlers, ranges, chaining
// to a base class's map and a member's alternate map, handlers that pass a message on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "atl/atl.h"

namespace {

// Records which handler took a message.
struct Trace {
  std::vector<std::string> calls;
};

class BaseMap : public CMessageMap {
 public:
  explicit BaseMap(Trace& trace) : trace_(trace) {}
  BEGIN_MSG_MAP(BaseMap)
    COMMAND_ID_HANDLER(IDOK, OnBaseOk)
    MESSAGE_HANDLER(WM_SIZE, OnBaseSize)
  END_MSG_MAP()

  LRESULT OnBaseOk(WORD, WORD, HWND, BOOL&) { return Note("base ok", 11); }
  LRESULT OnBaseSize(UINT, WPARAM, LPARAM, BOOL&) { return Note("base size", 12); }

 protected:
  LRESULT Note(const char* name, LRESULT result)
  {
    trace_.calls.push_back(name);
    return result;
  }
  Trace& trace_;
};

class MemberMap : public CMessageMap {
 public:
  explicit MemberMap(Trace& trace) : trace_(trace) {}
  BEGIN_MSG_MAP(MemberMap)
    MESSAGE_HANDLER(WM_TIMER, OnDefaultTimer)
  ALT_MSG_MAP(1)
    MESSAGE_HANDLER(WM_TIMER, OnAltTimer)
  END_MSG_MAP()
  LRESULT OnDefaultTimer(UINT, WPARAM, LPARAM, BOOL&)
  {
    trace_.calls.push_back("member default timer");
    return 0;
  }
  LRESULT OnAltTimer(UINT, WPARAM, LPARAM, BOOL&)
  {
    trace_.calls.push_back("member alt timer");
    return 21;
  }

 private:
  Trace& trace_;
};

class DerivedMap : public BaseMap {
 public:
  explicit DerivedMap(Trace& trace) : BaseMap(trace), member_(trace) {}
  BEGIN_MSG_MAP(DerivedMap)
    COMMAND_HANDLER(100, 5, OnCommand100Code5)
    COMMAND_RANGE_HANDLER(200, 210, OnRange)
    COMMAND_CODE_HANDLER(0x300, OnCode300)
    NOTIFY_HANDLER(7, 0xFFF0u, OnNotify7)
    NOTIFY_CODE_HANDLER(0xFFF1u, OnNotifyCode)
    NOTIFY_RANGE_HANDLER(50, 60, OnNotifyRange)
    MESSAGE_RANGE_HANDLER(WM_USER + 10, WM_USER + 20, OnUserRange)
    MESSAGE_HANDLER(WM_SIZE, OnSizePassesOn)
    CHAIN_MSG_MAP_ALT_MEMBER(member_, 1)
    CHAIN_MSG_MAP(BaseMap)
  END_MSG_MAP()

  LRESULT OnCommand100Code5(WORD, WORD, HWND, BOOL&) { return Note("command 100/5", 1); }
  LRESULT OnRange(WORD, WORD id, HWND, BOOL&) { return Note("range", id); }
  LRESULT OnCode300(WORD, WORD, HWND, BOOL&) { return Note("code 0x300", 3); }
  LRESULT OnNotify7(int, LPNMHDR, BOOL&) { return Note("notify 7", 4); }
  LRESULT OnNotifyCode(int, LPNMHDR, BOOL&) { return Note("notify code", 5); }
  LRESULT OnNotifyRange(int id, LPNMHDR, BOOL&) { return Note("notify range", id); }
  LRESULT OnUserRange(UINT uMsg, WPARAM, LPARAM, BOOL&) { return Note("user range", uMsg - WM_USER); }
  LRESULT OnSizePassesOn(UINT, WPARAM, LPARAM, BOOL& bHandled)
  {
    bHandled = FALSE;
    return Note("derived size", 0);
  }

 private:
  MemberMap member_;
};

}  // namespace

TEST(MessageMap, RoutesToTheFirstHandlerThatTakesTheMessage)
{
  struct Case {
    const char* name;
    UINT message;
    WPARAM wParam;
    NMHDR header;
    bool handled;
    LRESULT result;
    std::vector<std::string> calls;
  } cases[] = {
      {"command id and code", WM_COMMAND, MAKEWPARAM(100, 5), {}, true, 1, {"command 100/5"}},
      {"command id with another code", WM_COMMAND, MAKEWPARAM(100, 6), {}, false, 0, {}},
      {"command range low end", WM_COMMAND, MAKEWPARAM(200, 0), {}, true, 200, {"range"}},
      {"command range high end", WM_COMMAND, MAKEWPARAM(210, 0), {}, true, 210, {"range"}},
      {"command code", WM_COMMAND, MAKEWPARAM(999, 0x300), {}, true, 3, {"code 0x300"}},
      {"chained to the base", WM_COMMAND, MAKEWPARAM(IDOK, 0), {}, true, 11, {"base ok"}},
      {"notify id and code", WM_NOTIFY, 7, {nullptr, 7, 0xFFF0u}, true, 4, {"notify 7"}},
      {"notify code", WM_NOTIFY, 8, {nullptr, 8, 0xFFF1u}, true, 5, {"notify code"}},
      {"notify range", WM_NOTIFY, 55, {nullptr, 55, 0x1u}, true, 55, {"notify range"}},
      {"notify outside every handler", WM_NOTIFY, 61, {nullptr, 61, 0x1u}, false, 0, {}},
      {"message range", WM_USER + 15, 0, {}, true, 15, {"user range"}},
      {"passed on to the base", WM_SIZE, 0, {}, true, 12, {"derived size", "base size"}},
      {"member's alternate map", WM_TIMER, 0, {}, true, 21, {"member alt timer"}},
      {"nobody's", WM_CLOSE, 0, {}, false, 0, {}},
  };
  for (Case& c : cases) {
    Trace trace;
    DerivedMap map(trace);
    LRESULT result = 0;
    LPARAM lParam = c.message == WM_NOTIFY ? reinterpret_cast<LPARAM>(&c.header) : 0;
    BOOL handled = map.ProcessWindowMessage(nullptr, c.message, c.wParam, lParam, result, 0);
    EXPECT_EQ(handled != FALSE, c.handled) << c.name;
    if (c.handled) {
      EXPECT_EQ(result, c.result) << c.name;
    }
    EXPECT_EQ(trace.calls, c.calls) << c.name;
  }
}

TEST(MessageMap, AlternateMapsAreSeparate)
{
  Trace trace;
  MemberMap map(trace);
  LRESULT result = 0;
  EXPECT_TRUE(map.ProcessWindowMessage(nullptr, WM_TIMER, 0, 0, result, 0));
  EXPECT_TRUE(map.ProcessWindowMessage(nullptr, WM_TIMER, 0, 0, result, 1));
  EXPECT_FALSE(map.ProcessWindowMessage(nullptr, WM_TIMER, 0, 0, result, 2));
  EXPECT_EQ(trace.calls, (std::vector<std::string>{"member default timer", "member alt timer"}));
}
