// The characters the codes of the text show, through code page 932 as the
// drawing shows them, and the reverse: the codes that show a typed
// character, for the search.
#pragma once

#include "document/structurecheck.h"
#include "document/textexport.h"
#include "document/textsearch.h"

#include <cstdint>
#include <string>

// The character a code of the text shows: the pair at p in a two-byte set,
// or the byte at p in a one-byte set, where JIS Roman has the yen sign and
// the overline at 0x5C and 0x7E. 0 for a control code and for a code that
// shows no character.
char32_t ShownCharacter(CharSet set, const std::uint8_t* p);

// The character of JIS X 0208 that the pair at p stands for. Six of them
// code page 932 shows by other code points (0x2141 is U+301C, shown as the
// full-width U+FF5E); otherwise it is the character shown.
char32_t JisCharacter(const std::uint8_t* p);

// JisCharacter of every pair, for taking text out of the document.
const JisTable& JisCharacters();

// The codes that show each character of typed UTF-8 text; with bMatchCase
// false an ASCII letter is matched in either case. The two code points of
// each of the six characters that JisCharacter corrects find the same codes.
FindQuery MakeFindQuery(const std::string& text, bool bMatchCase);

// The pairs that show a character.
const JisRepertoire& DefinedJisCodes();

std::string Utf8Of(char32_t ch);
