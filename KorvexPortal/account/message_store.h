// The messages a user has read, one file each (see message_file.h) in the user's folder:
// "\Temp\KorvexPortal\<logon id>\MsgList\Readed\<message id>", the id in decimal without
// extension. A file's id is the number its name starts with (0 when it starts with none), and
// ids of 0 or less are never shown: 0 stands for "no message" in the results below.
//
// Every function takes the logon id of the current user; for a logon id that cannot name a
// folder nothing is read or written.
#pragma once

#include <vector>

#include "base/types.h"
#include "text/cstring.h"

// Writes the message's file (text as message_file.h encodes it), creating the folders on the
// way and replacing an earlier file of the id whole. 0 when written; -1 for a refused logon id,
// an id below 1, or a failed write (an earlier file is then as it was).
int SaveMessageFile(const WCHAR* logonId, int id, const WCHAR* text);

// Deletes the message's file. Non-zero when it was there and is gone.
BOOL DeleteMessageFile(const WCHAR* logonId, int id);

// Appends the id of every file in the folder to ids; returns how many it appended.
int ListMessageIds(const WCHAR* logonId, std::vector<int>& ids);

// The largest stored id; 0 when none.
int GetNewestMessageId(const WCHAR* logonId);
// The smallest stored id greater than id; 0 when none.
int GetNextMessageId(const WCHAR* logonId, int id);
// For id 0 or -1 the newest id; else the largest stored id smaller than id; 0 when none.
int GetPrevMessageId(const WCHAR* logonId, int id);

// text := the file of the next (previous) stored id, as GetNextMessageId (GetPrevMessageId)
// finds it; empty when there is none or it cannot be read. Always 0.
int LoadNextMessage(const WCHAR* logonId, int id, CStringW& text);
int LoadPrevMessage(const WCHAR* logonId, int id, CStringW& text);
