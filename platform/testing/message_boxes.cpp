#include "testing/message_boxes.h"

#include "internal/msgbox/message_box_hooks.h"

namespace kvtest {

MessageBoxAnswerer::MessageBoxAnswerer(Answer answer)
{
  msgbox::SetAnswerer([this, answer = std::move(answer)](const msgbox::Request& request) {
    MessageBoxCall call{request.owner, request.text, request.caption, request.type};
    {
      std::lock_guard lock(mutex_);
      calls_.push_back(call);
    }
    return answer ? answer(call) : msgbox::DefaultAnswer(request.type);
  });
}

MessageBoxAnswerer::~MessageBoxAnswerer() { msgbox::SetAnswerer(nullptr); }

std::vector<MessageBoxCall> MessageBoxAnswerer::Calls() const
{
  std::lock_guard lock(mutex_);
  return calls_;
}

}  // namespace kvtest
