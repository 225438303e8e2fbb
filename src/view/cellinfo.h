// The status-bar texts about the characters of the text: what is in the
// cell the mouse rests on, and where the structure check found a problem
// and what it is.
#pragma once

#include "document/linewalker.h"
#include "document/structurecheck.h"

#include <cstdint>
#include <string>

// The line, column and byte offset of the character, its set, and what it
// is: a character with its codes, a control code by name, or a problem.
std::string DescribeCell(const CTAVODoc& doc, std::uint32_t nLine, const CharCell& cell);

// What the problem of the character at offset is, with its bytes: the
// wording of the status bar, and of the command-line check.
std::string ProblemText(const CTAVODoc& doc, std::uint32_t offset, CharSet set,
                        TextProblem problem);

// Where the problem is, nLineColumn being its column in its line, and
// what it is.
std::string DescribeProblem(const CTAVODoc& doc, const ProblemPlace& place,
                            std::uint64_t nLineColumn);
