// The soft keys and frames of each box type.
#include "message_box_types.h"

namespace {

constexpr BoxKey kHidden{u"", 0};

}  // namespace

BoxKeys BoxKeysOfType(UINT type)
{
  switch (type & 0xF) {
  case KV_BOX_OK:
    return {kHidden, {u"确定", KV_BOX_ANSWER_OK}};
  case KV_BOX_OKCANCEL:
    return {{u"取消", KV_BOX_ANSWER_CANCEL}, {u"确定", KV_BOX_ANSWER_OK}};
  case KV_BOX_YESNO:
    return {{u"否", KV_BOX_ANSWER_NO}, {u"是", KV_BOX_ANSWER_YES}};
  case KV_BOX_RETRYCANCEL:
    return {{u"取消", KV_BOX_ANSWER_CANCEL}, {u"重试", KV_BOX_ANSWER_RETRY}};
  case KV_BOX_WAIT:
    return {{u"取消", KV_BOX_ANSWER_CANCEL}, kHidden};
  default:
    return {kHidden, kHidden};
  }
}

BoxFrame BoxFrameOfType(UINT type)
{
  switch (type & 0xF0) {
  case KV_BOX_ERROR:
    return {215, 226, true};
  case KV_BOX_INFO:
    return {216, 227, true};
  case KV_BOX_SUCCESS:
    // 229 is the scroll bar's skin.
    return {218, 230, true};
  default:
    return {217, 228, false};
  }
}

bool IsSelfClosingType(UINT type)
{
  return (type & 0xF) == KV_BOX_SELF_CLOSING;
}
