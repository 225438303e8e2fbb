// The window layer: application, document template, frame, view base,
// bars, dialogs and resources, on Qt 6.
#pragma once

#include "ui_app.h"
#include "ui_dc.h"
#include "ui_dialog.h"
#include "ui_frame.h"
#include "ui_ids.h"
#include "ui_resource.h"
#include "ui_view.h"
#include "ui_wnd.h"
