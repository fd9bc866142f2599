// The device's shell: work area and full-screen mode, the soft input panel, dialog sizing and
// activation handling, special folders, shortcuts, starting programs, deleting files and image
// files.
#pragma once

#include "shell/work_area.h"
#include "shell/sip.h"
#include "shell/dialog.h"
#include "shell/special_folders.h"
#include "shell/shortcut.h"
#include "shell/shell_execute.h"
#include "shell/file_operation.h"
#include "shell/image_files.h"
