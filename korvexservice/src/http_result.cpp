#include "http_result.h"

void GetNetErrorText(HttpResult code, CStringW& text)
{
  switch (code) {
    case kHttpBadUrl:
      text = u"url格式错误";
      break;
    case kHttpNoInternet:
      text = u"初始化网络错误";
      break;
    case kHttpConnectFailed:
      text = u"连接服务器出错";
      break;
    case kHttpSendFailed:
      text = u"发送网络请求错误";
      break;
    case kHttpConversionFailed:
      text = u"转换utf8字符错误";
      break;
    case kHttpCallbackFailed:
      text = u"设置回调函数出错";
      break;
    case kHttpWaitFailed:
      text = u"等待网络时出错";
      break;
    case kHttpTimeout:
      text = u"等待网络数据超时";
      break;
    default:
      text = u"成功";
      break;
  }
}
