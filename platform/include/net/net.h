// The device's networking: data connections, remote access links, provisioning queries and
// loopback sockets.
#pragma once

#include "net/connmgr.h"
#include "net/provisioning.h"
#include "net/ras.h"
#include "net/winsock.h"
