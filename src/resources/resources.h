// The resource table of the TAVO executable.
#pragma once

#include "platform/ui/resource.h"

const CResourceTable& TavoResources();
