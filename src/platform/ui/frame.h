// The main frame on a Qt main window: menu, accelerators, dockable toolbar,
// status bar, and the routing of commands to the active view.
#pragma once

#include "platform/ui/ids.h"
#include "platform/ui/wnd.h"

#include <memory>
#include <string>
#include <vector>

class QAction;
class QObject;
class QMainWindow;
class QMenu;
class QToolBar;
class QLabel;
class CView;

constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0004;

struct CREATESTRUCT {
    int cx;
    int cy;
};
using LPCREATESTRUCT = CREATESTRUCT*;

class CFrameWnd;

// A bar docked in a frame.
class CControlBar : public CWnd {
public:
    DWORD GetBarStyle() const { return m_dwStyle; }
    virtual void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    // Shown or hidden by the user through the View menu.
    virtual QWidget* GetBarWidget() const = 0;

protected:
    DWORD m_dwStyle = 0;
};

// Buttons of one size cut from one bitmap strip, each bound to a command.
class CToolBar : public CControlBar {
public:
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID = AFX_IDW_TOOLBAR);
    BOOL LoadToolBar(UINT nIDResource);
    void SetBarStyle(DWORD dwStyle) override;
    // Lets the user move the toolbar to the sides dwDockStyle names.
    void EnableDocking(DWORD dwDockStyle);
    QWidget* GetBarWidget() const override;

private:
    friend class CFrameWnd;
    void ApplyStyle();

    QToolBar* m_pToolBar = nullptr;
    CFrameWnd* m_pFrame = nullptr;
    std::vector<std::pair<UINT, QAction*>> m_buttons;
};

// The message pane and the key indicators.
class CStatusBar : public CControlBar {
public:
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID = AFX_IDW_STATUS_BAR);
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    QWidget* GetBarWidget() const override;

private:
    friend class CFrameWnd;
    CFrameWnd* m_pFrame = nullptr;
    QLabel* m_pIdle = nullptr;
    std::vector<std::pair<UINT, QLabel*>> m_indicators;
};

// A bar made from a dialog template, docked in the frame like a toolbar.
// Its buttons carry out their ids as the frame's commands, and so does
// Enter in an edit field, for the default button; Escape or the button
// IDCANCEL hides the bar and gives the keys back to the view.
class CDialogBar : public CControlBar {
public:
    BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID);
    QWidget* GetBarWidget() const override;
    // Gives control nID the keys; an edit field's text is selected.
    void GotoDlgCtrl(UINT nID);

private:
    void Close();

    QToolBar* m_pBar = nullptr;
    CFrameWnd* m_pFrame = nullptr;
};

class CFrameWnd : public CWnd {
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Creates the window with menu and accelerators nIDResource, calls
    // OnCreate and sets the frame's icon. FALSE when OnCreate fails.
    virtual BOOL LoadFrame(UINT nIDResource);
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    // Returns 0, or -1 to make the creation fail.
    virtual int OnCreate(LPCREATESTRUCT lpCreateStruct);

    CView* GetActiveView() const { return m_pActiveView.get(); }
    // Takes the view, places it in the frame's centre and routes commands
    // to it.
    void SetActiveView(CView* pView);

    void DockControlBar(CControlBar* pBar);
    // Shows or hides a bar; the change shows at once, whatever bDelay.
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    // The message pane's text, until the next one; AFX_IDS_IDLEMESSAGE
    // restores the idle text.
    void SetMessageText(const std::string& text);
    void SetMessageText(UINT nID);

    // Files dropped on the window are opened (the first of them: one
    // document at a time), with the checks and messages of the open dialog.
    void DragAcceptFiles(BOOL bAccept = TRUE);
    virtual void OnDropFiles(const std::vector<std::string>& files);

    // "title - application" (or the application's name alone).
    void OnUpdateFrameTitle();

    // Routes to the active view (and on to its document), the frame, then
    // the application.
    BOOL OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;
    // Carries out a command from a menu, button or accelerator unless its
    // update handler disables it. Returns TRUE when something handled it.
    BOOL ExecuteCommand(UINT nID);
    // Refreshes every menu item and button from the update handlers.
    void UpdateCommandUI();

    QMainWindow* GetMainWindow() const { return m_pMainWindow; }

private:
    friend class CToolBar;
    friend class CStatusBar;

    void BuildMenu(UINT nIDResource);
    void BuildAccelerators(UINT nIDResource);
    void ShowRecentFiles();
    void ToggleBar(CControlBar* pBar);
    QAction* MakeCommandAction(UINT nID, const std::string& caption);

    QMainWindow* m_pMainWindow = nullptr;
    std::unique_ptr<CView> m_pActiveView;
    CToolBar* m_pToolBar = nullptr;
    CStatusBar* m_pStatusBar = nullptr;
    std::vector<std::pair<UINT, QAction*>> m_menuItems;
    QObject* m_pDropTarget = nullptr;
    QAction* m_pRecentPlaceholder = nullptr;
    std::vector<QAction*> m_recentItems;
    std::string m_strTitle;
};
