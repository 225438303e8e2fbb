// The go-to-line dialog: a line number from 1 to the number of lines.
#pragma once

#include "platform/ui/ui.h"

class CGotoLineDlg : public CDialog {
public:
    CGotoLineDlg(CWnd* pParent, UINT nLines, UINT nLine);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    UINT m_nLine; // 1-based

private:
    UINT m_nLines;
};
