// The window layer: application, document template, frame, view base,
// bars, dialogs, printing and resources, on Qt 6.
#pragma once

#include "platform/ui/app.h"
#include "platform/ui/dc.h"
#include "platform/ui/dialog.h"
#include "platform/ui/frame.h"
#include "platform/ui/ids.h"
#include "platform/ui/print.h"
#include "platform/ui/resource.h"
#include "platform/ui/view.h"
#include "platform/ui/wnd.h"
