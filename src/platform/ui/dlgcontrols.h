// The controls of dialogs on Qt widgets: what a template item becomes, the
// dialog units its rectangle is given in, and the up-down control. Internal
// to the window layer.
#pragma once

#include "platform/ui/resource.h"

#include <QRect>
#include <QWidget>

#include <functional>
#include <vector>

class QButtonGroup;
class QFont;
class QToolButton;

// Dialog units: a quarter of the font's average character width across,
// an eighth of its height down, rounded as the system rounds them.
struct DialogUnits {
    int cxChar;
    int cyChar;

    static DialogUnits Of(const QFont& font);
    QRect ToPixels(int x, int y, int cx, int cy) const;
};

// The id and style a control was made with; GetDlgItem finds it by the id.
void SetDialogItem(QWidget* pControl, UINT nID, DWORD dwStyle = 0);
UINT DialogItemId(const QWidget* pControl);
DWORD DialogItemStyle(const QWidget* pControl);
// The control nID among the widgets below pParent, or null.
QWidget* FindDialogItem(const QWidget* pParent, UINT nID);

// Makes a template's controls, in order, as children of a dialog. A click
// on a button (push button, check box, radio button) reports its id.
class DialogBuilder {
public:
    using ClickHandler = std::function<void(UINT nID)>;

    DialogBuilder(QWidget* pDialog, const DialogUnits& units, ClickHandler onClick);
    QWidget* Add(const DLGITEMTEMPLATE& item);

private:
    QWidget* MakeButton(const DLGITEMTEMPLATE& item);
    QWidget* MakeStatic(const DLGITEMTEMPLATE& item);
    QWidget* MakeEdit(const DLGITEMTEMPLATE& item);

    QWidget* m_pDialog;
    DialogUnits m_units;
    ClickHandler m_onClick;
    // The exclusive group of the radio buttons since the last group start.
    QButtonGroup* m_pRadioGroup = nullptr;
    QWidget* m_pPrevious = nullptr;
};

// Gives pBox the template's font and size and makes its controls, in
// order; returns them.
std::vector<QWidget*> BuildFromTemplate(QWidget* pBox, const DLGTEMPLATE& dlg,
                                        DialogBuilder::ClickHandler onClick);

// Two arrows that step a position inside a range; with UDS_SETBUDDYINT the
// buddy edit field shows the position, and a step starts from the number
// the field holds. Without a range set the range is 0..100.
class UpDownControl : public QWidget {
public:
    UpDownControl(DWORD dwStyle, QWidget* pParent);

    void SetBuddy(QWidget* pBuddy);
    void SetRange(int nLower, int nUpper);
    // Moves by nDelta steps of 1, stopping at the ends of the range.
    void Step(int nDelta);

    // The arrows themselves, the seam tests use to click them as a user would.
    QToolButton* UpArrow() const { return m_pUp; }
    QToolButton* DownArrow() const { return m_pDown; }

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    DWORD m_dwStyle;
    QWidget* m_pBuddy = nullptr;
    QToolButton* m_pUp;
    QToolButton* m_pDown;
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nPos = 0;
};
