// The type of a message box: its low four bits choose the soft keys and their answers, its high
// bits the frame (and whether the frame carries an icon). The answers are the ids the keys take;
// a box that ends without an answer (its own time-out, an HTTP reply, its window closing) gives -1.
#pragma once

#include "windows.h"

#define KV_BOX_ANSWER_OK 1001
#define KV_BOX_ANSWER_CANCEL 1002
#define KV_BOX_ANSWER_RETRY 1004
#define KV_BOX_ANSWER_YES 1006
#define KV_BOX_ANSWER_NO 1007
#define KV_BOX_NO_ANSWER (-1)

// Types the screens pass: one key "确定"; "确定" and "取消"; "是" and "否"; "重试" and "取消";
// "取消" only (a wait); no key, closing itself after two seconds.
#define KV_BOX_OK 0x0
#define KV_BOX_OKCANCEL 0x1
#define KV_BOX_YESNO 0x4
#define KV_BOX_RETRYCANCEL 0x5
#define KV_BOX_WAIT 0x6
#define KV_BOX_SELF_CLOSING 0x7
// Frames: an error, a notice or question, a success.
#define KV_BOX_ERROR 0x10
#define KV_BOX_INFO 0x40
#define KV_BOX_SUCCESS 0x80
// The dialog base's exit question: a notice frame with OK and Cancel.
#define KV_BOX_QUESTION (KV_BOX_INFO | KV_BOX_OKCANCEL)

// One soft key of a box: its text and the answer it gives; answer 0 hides the key.
struct BoxKey {
  const WCHAR* text;
  int answer;
};

// The keys of the type: soft key 1 on the left, soft key 2 on the right.
struct BoxKeys {
  BoxKey left;
  BoxKey right;
};
BoxKeys BoxKeysOfType(UINT type);

// The frame bitmaps of the type for a portrait and for a landscape (or square) screen, and
// whether the text keeps clear of the frame's icon.
struct BoxFrame {
  UINT portraitBitmap;
  UINT landscapeBitmap;
  bool hasIcon;
};
BoxFrame BoxFrameOfType(UINT type);

// A box of the type closes itself after two seconds unless it shows progress.
bool IsSelfClosingType(UINT type);
