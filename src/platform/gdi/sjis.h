// Code page 932 (Shift_JIS) to UTF-16, through a table built once.
#pragma once

#include "platform/core/wintypes.h"

// A byte or pair the code page does not define.
constexpr char16_t SJIS_UNDEFINED = 0xFFFF;

bool IsSjisLeadByte(BYTE b);
// SJIS_UNDEFINED for lead bytes and undefined single bytes.
char16_t DecodeSjisByte(BYTE b);
char16_t DecodeSjisPair(BYTE lead, BYTE trail);
