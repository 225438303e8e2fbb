// The settings dialog: the four fonts, the nine colours, the five display
// flags and the wrap mode with its column, on a copy of the settings that
// the preview pane shows as it changes.
#pragma once

#include "envdialog/envpreview.h"
#include "platform/ui/ui.h"
#include "settings/envsettings.h"

class CEnvDialog : public CDialog {
public:
    // The wrap columns the dialog accepts.
    static constexpr UINT MIN_WRAP_COLUMN = 20;
    static constexpr UINT MAX_WRAP_COLUMN = 999;

    explicit CEnvDialog(CWnd* pParent);

    // Reads every control into the members and rebuilds the copy's flags
    // and wrap word from them; returns FALSE when the column field failed
    // its validation, which has told the user.
    BOOL ApplyControls();
    void OnFontButton(UINT nID);
    void OnColorButton(UINT nID);
    void OnCheckClicked(UINT nID);

    EnvSettings m_env = {}; // the copy the dialog edits
    CEnvPreview m_preview;
    int m_bFixBackslash = 0;
    int m_bFixTilde = 0;
    int m_bShowControls = 0;
    int m_bMarkWideSpace = 0;
    int m_bLineNumbers = 0;
    UINT m_nWrapColumn = 0;
    int m_nWrapMode = -1; // 0 none, 1 window width, 2 fixed column, -1 no button

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void RedrawPreview();
};

// What the user is told when the settings could not be saved: that they
// hold for this run only, the file, and why.
std::string DescribeSaveFailure(EnvSaveResult result, const CFileException& error);
