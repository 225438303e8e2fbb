// Code page 932 (Shift_JIS) to and from UTF-16, through tables built once.
#pragma once

#include "platform/core/wintypes.h"

#include <string>
#include <string_view>

// A byte or pair the code page does not define.
constexpr char16_t SJIS_UNDEFINED = 0xFFFF;

bool IsSjisLeadByte(BYTE b);
// SJIS_UNDEFINED for lead bytes and undefined single bytes.
char16_t DecodeSjisByte(BYTE b);
char16_t DecodeSjisPair(BYTE lead, BYTE trail);

// The code page's bytes for text, whole characters only, at most maxBytes:
// the text is cut before the first character that does not fit or that the
// code page cannot show.
std::string EncodeSjis(std::u16string_view text, std::size_t maxBytes);
