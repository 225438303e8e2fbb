// The resource table of the TAVO executable.
#pragma once

#include "platform/ui_resource.h"

const CResourceTable& TavoResources();
