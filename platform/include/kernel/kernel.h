// The device's kernel interfaces: handles, waits, events, threads, locks and time.
#pragma once

#include "kernel/critical_section.h"
#include "kernel/event.h"
#include "kernel/handle.h"
#include "kernel/interlocked.h"
#include "kernel/thread.h"
#include "kernel/time.h"
#include "kernel/wait.h"
