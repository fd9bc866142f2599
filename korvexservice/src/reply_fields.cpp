#include "reply_fields.h"

#include "json/writer.h"

namespace {

const Json::Value* Member(const Json::Value& reply, const WCHAR* name)
{
  if (reply.type() != Json::objectValue || !reply.isMember(name)) {
    return nullptr;
  }
  return &reply[name];
}

}  // namespace

std::u16string ReplyText(const Json::Value& reply, const WCHAR* name)
{
  const Json::Value* member = Member(reply, name);
  if (member == nullptr) {
    return {};
  }
  switch (member->type()) {
    case Json::stringValue:
    case Json::booleanValue:
      return member->asString();
    case Json::intValue:
      return Json::valueToString(member->asInt());
    case Json::uintValue:
      return Json::valueToString(member->asUInt());
    case Json::realValue:
      return Json::valueToString(member->asDouble());
    default:
      return {};
  }
}

std::optional<int> ReplyNumber(const Json::Value& reply, const WCHAR* name)
{
  const Json::Value* member = Member(reply, name);
  if (member == nullptr) {
    return std::nullopt;
  }
  switch (member->type()) {
    case Json::intValue:
    case Json::uintValue:
    case Json::realValue:
      if (member->isConvertibleTo(Json::intValue)) {
        return member->asInt();
      }
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

int ReplyInt(const Json::Value& reply, const WCHAR* name)
{
  return ReplyNumber(reply, name).value_or(0);
}

std::optional<int> ReplyIntField(const Json::Value& reply, const WCHAR* name)
{
  if (!ReplyHas(reply, name)) {
    return 0;
  }
  return ReplyNumber(reply, name);
}

bool ReplyHas(const Json::Value& reply, const WCHAR* name)
{
  const Json::Value* member = Member(reply, name);
  return member != nullptr && !member->isNull();
}
