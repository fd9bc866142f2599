// The device's phone: telephony lines, the phone's identity and the contact chooser.
#pragma once

#include "phone/tapi.h"
#include "phone/contacts.h"
