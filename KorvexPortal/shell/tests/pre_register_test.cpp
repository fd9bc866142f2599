// The start of registration's reply: a transport failure, a reply that is no JSON text, a refusal
// and a success that lacks the key, its time stamp or a usable picture each end in an error box
// and open no form; a complete success opens the registration form.
#include <string>
#include <vector>

#include "bitmap_file.h"
#include "crypt/base64.h"
#include "http_client.h"
#include "shell_fixture.h"
#include "text/codepage.h"

using namespace shelltest;

namespace {

std::string Base64(const std::string& bytes)
{
  int length = Base64EncodeGetRequiredLength(static_cast<int>(bytes.size()), ATL_BASE64_FLAG_NOCRLF);
  std::string text(static_cast<size_t>(length), '\0');
  Base64Encode(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<int>(bytes.size()), text.data(), &length,
               ATL_BASE64_FLAG_NOCRLF);
  text.resize(static_cast<size_t>(length));
  return text;
}

CStringW FromUtf8(const std::string& text)
{
  std::u16string wide(text.size() + 1, u'\0');
  int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                   static_cast<int>(wide.size()));
  wide.resize(static_cast<size_t>(length > 0 ? length : 0));
  return CStringW(wide.c_str());
}

TEST_F(ShellTest, TheStartOfRegistrationOpensTheFormOnlyOnACompleteSuccess)
{
  const std::string picture = Base64(kvtest::BmpFile(30, 12, RGB(40, 40, 200)));
  const std::string keys = R"("rsaPK":"MIGfMA0","rsaTS":"20100704120000")";
  const std::string network = "连接服务器出错，请检查网络后重试。 type 16";
  const std::string failed = "暂时无法注册，请稍后再试。 type 16";
  struct Case {
    const char* name;
    WPARAM transport;  // the HTTP layer's result: 0 success, 3 no answer
    std::string reply;
    std::vector<std::string> boxes;
    bool formShown;
  };
  const Case cases[] = {
      {"no answer", 3, "", {network}, false},
      {"no JSON text", 0, "<html>维护中</html>", {failed}, false},
      {"refused", 0, R"({"resultStatus":500,"memo":"系统繁忙"})", {"系统繁忙 type 16", failed}, false},
      {"no picture", 0, R"({"resultStatus":100,)" + keys + "}", {failed}, false},
      {"no time stamp", 0, R"({"resultStatus":100,"rsaPK":"MIGfMA0","checkCode":")" + picture + R"("})", {failed},
       false},
      {"a picture that is none", 0, R"({"resultStatus":100,)" + keys + R"(,"checkCode":"bm90IGFuIGltYWdl"})",
       {failed}, false},
      {"complete", 0, R"({"resultStatus":100,)" + keys + R"(,"checkCode":")" + picture + R"("})", {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    size_t before = app.Boxes().size();
    HttpReplySlot slot;
    slot.busy = 1;
    slot.text = FromUtf8(c.reply);
    OnUi([&] { app.OnPreRegisterResult(c.transport, reinterpret_cast<LPARAM>(&slot)); });
    std::vector<std::string> boxes = app.Boxes();
    EXPECT_EQ(c.boxes, std::vector<std::string>(boxes.begin() + static_cast<ptrdiff_t>(before), boxes.end()));
    EXPECT_EQ(0, slot.busy) << "the reply's slot is given back";
    EXPECT_EQ(c.formShown, IsShown(app.GetRegisterDialog()));
  }
}

}  // namespace
