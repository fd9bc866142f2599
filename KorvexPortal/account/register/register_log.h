// The registration form's log entries name it as their source.
#pragma once

#include "log_writer.h"

#define LOG_REGISTER(...) WriteLogEntry("RegisterDlg", __LINE__, __VA_ARGS__)
