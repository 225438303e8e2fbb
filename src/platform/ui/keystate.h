// The lock-key lights of the keyboard, where the windowing system reports
// them.
#pragma once

#include "platform/core/wintypes.h"

// Whether the light of indicator nIndicatorID (ID_INDICATOR_CAPS, _NUM,
// _SCRL or _KANA) is on; FALSE when the system does not tell.
BOOL IsLockIndicatorOn(UINT nIndicatorID);
