// The preview pane of the settings dialog: four sample lines, one in each
// character set, drawn by the document's painter with the dialog's copy of
// the settings.
#pragma once

#include "platform/ui/ui.h"
#include "settings/envsettings.h"

class CEnvPreview : public CWnd {
public:
    // The gutter of the samples when line numbers are shown, in cells.
    static constexpr int GUTTER = 5;
    static constexpr int SAMPLE_ROWS = 4;

    CEnvPreview() = default;

    // The sunken edge, the ground, then the samples, line numbers and the
    // rule under the last row as the settings ask.
    void OnPaint() override;

    // The record painted; the settings dialog points it at its copy.
    const EnvSettings* m_pEnv = nullptr;
};
