// Why a load left the document empty, in the words of the file errors.
#pragma once

#include "document/tavodoc.h"

#include <string>

// Empty when the load did not fail.
std::string DescribeLoadFailure(CTAVODoc::LoadFailure failure);
