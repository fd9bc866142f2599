// The device's phone: telephony lines and the phone's identity.
#pragma once

#include "phone/tapi.h"
