// The device's kernel interfaces: handles, waits, events, threads, locks and time; files and
// folders of the device root, the C run-time's wide file streams, file mappings, processes and
// the process list, modules and file versions. A program's entry is in kernel/entry.h.
#pragma once

#include "kernel/critical_section.h"
#include "kernel/event.h"
#include "kernel/file.h"
#include "kernel/file_system.h"
#include "kernel/handle.h"
#include "kernel/interlocked.h"
#include "kernel/mapping.h"
#include "kernel/module.h"
#include "kernel/process.h"
#include "kernel/thread.h"
#include "kernel/time.h"
#include "kernel/toolhelp.h"
#include "kernel/version.h"
#include "kernel/wait.h"
#include "kernel/wide_stdio.h"
