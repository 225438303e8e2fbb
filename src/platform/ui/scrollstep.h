// Where a scroll code takes a bar: the one reading of the codes for every
// window that scrolls.
#pragma once

#include "platform/core/wintypes.h"
#include "platform/ui/wnd.h"

#include <optional>

// The new position for a scroll code on a bar in the state info holds: a
// line (nLine positions) or a page (nPage) either way, the thumb's 32-bit
// track position, or an end. It stays where the bar's page still fits in
// its range and never goes below its start. Codes that are not a step
// (SB_ENDSCROLL and beyond) give nothing.
std::optional<int> ScrollStepPosition(const SCROLLINFO& info, UINT nSBCode, int nLine, int nPage);
