// Resource and command ids of TAVO: the framework's ids and the program's
// own. Header only, for the view, the application and the resource data.
#pragma once

#include "platform/ui/ids.h"

constexpr UINT IDD_ABOUTBOX = 100;
constexpr UINT IDR_MAINFRAME = 128;
constexpr UINT IDD_ENV_SETTINGS = 130;
constexpr UINT IDC_BUILT = 1026;
constexpr UINT ID_ENV_SETTINGS = 0x8003;
