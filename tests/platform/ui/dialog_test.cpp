// Dialogs from templates, worked through their controls: data exchange and
// validation, OK and Cancel from buttons, keys and the close box, the tab
// order, mnemonics and the up-down control.
#include "ui_fixture.h"

#include "platform/ui/dlgcontrols.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <iterator>

namespace {

constexpr UINT IDD_NUMBER = 300;
constexpr int IDC_TICK = 101;
constexpr int IDC_ONE = 102;
constexpr int IDC_TWO = 103;
constexpr int IDC_NUMBER = 104;
constexpr int IDC_SPIN = 105;
constexpr int IDC_THREE = 106;
constexpr int IDC_OTHER = 107;

// Radio buttons 一, 二 and 三 form one group, the edit field and the spin
// between them included; 四 starts a group of its own.
const DLGITEMTEMPLATE ITEMS[] = {
    {IDOK, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 4, 80, 40, 12},
    {IDCANCEL, "BUTTON", "ｷｬﾝｾﾙ", BS_PUSHBUTTON | WS_TABSTOP, 48, 80, 40, 12},
    {IDC_TICK, "BUTTON", "選ぶ(&K)", BS_AUTOCHECKBOX | WS_TABSTOP, 4, 4, 60, 10},
    {IDC_ONE, "BUTTON", "一", BS_AUTORADIOBUTTON | WS_GROUP, 4, 20, 30, 10},
    {IDC_TWO, "BUTTON", "二", BS_AUTORADIOBUTTON, 40, 20, 30, 10},
    {IDC_NUMBER, "EDIT", "", ES_NUMBER | WS_BORDER | WS_TABSTOP, 4, 36, 40, 13},
    {IDC_SPIN, UPDOWN_CLASS, "", UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS,
     4, 36, 8, 14},
    {IDC_THREE, "BUTTON", "三", BS_AUTORADIOBUTTON, 4, 52, 30, 10},
    {IDC_STATIC, "STATIC", "別", SS_LEFT | WS_GROUP, 4, 66, 20, 8},
    {IDC_OTHER, "BUTTON", "四", BS_AUTORADIOBUTTON | WS_GROUP, 40, 66, 30, 10},
};

const DLGTEMPLATE NUMBER_DIALOG = {"数", "ＭＳ ゴシック", 9, 100, 96, int(std::size(ITEMS)), ITEMS};

class TestResources : public CResourceTable {
public:
    const char* FindString(UINT) const override { return nullptr; }
    const MENUITEMTEMPLATE* FindMenu(UINT, int*) const override { return nullptr; }
    const ACCEL* FindAccelerators(UINT, int*) const override { return nullptr; }
    const TOOLBARTEMPLATE* FindToolBar(UINT) const override { return nullptr; }
    const BITMAPTEMPLATE* FindBitmap(UINT) const override { return nullptr; }
    const BITMAPTEMPLATE* FindIcon(UINT, int*) const override { return nullptr; }
    const DLGTEMPLATE* FindDialog(UINT nID) const override {
        return nID == IDD_NUMBER ? &NUMBER_DIALOG : nullptr;
    }
};

class NumberDialog : public CDialog {
public:
    NumberDialog() : CDialog(IDD_NUMBER) {}

    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Check(pDX, IDC_TICK, m_nTick);
        DDX_Text(pDX, IDC_NUMBER, m_nNumber);
        DDV_MinMaxUInt(pDX, m_nNumber, 20, 999);
        DDX_Radio(pDX, IDC_ONE, m_nChoice);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        SendDlgItemMessage(IDC_SPIN, UDM_SETRANGE32, 20, 999);
        return TRUE;
    }

    template <typename T> T* Item(int nID) const { return dynamic_cast<T*>(GetDlgItem(nID)); }
    void Click(int nID) const { Item<QAbstractButton>(nID)->click(); }
    void Type(const char* text) const { Item<QLineEdit>(IDC_NUMBER)->setText(text); }

    int m_nTick = 0;
    UINT m_nNumber = 50;
    int m_nChoice = -1;
};

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestApplication();
        AfxSetResourceHandle(&resources);
        KeepMessageBoxes(messages);
    }
    void TearDown() override {
        CDialog::SetModalHook(nullptr);
        AfxSetMessageBoxHook(nullptr);
        AfxSetResourceHandle(nullptr);
    }

    // Runs the dialog with act working its controls; returns DoModal's result.
    INT_PTR Run(const std::function<void(NumberDialog&)>& act, int unanswered = IDCANCEL) {
        CDialog::SetModalHook([&](CDialog& dialog) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.GetDialog()));
            act(static_cast<NumberDialog&>(dialog));
            return unanswered;
        });
        return dialog.DoModal();
    }

    TestResources resources;
    NumberDialog dialog;
    std::vector<std::string> messages;
};

UINT FocusedId() {
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? focus->property("dialogItemId").toUInt() : 0;
}

TEST_F(DialogTest, ControlsShowTheMembersAndOkTakesThemBack) {
    dialog.m_nTick = 1;
    dialog.m_nChoice = 2; // the third radio button of the group: 三
    EXPECT_EQ(Run([](NumberDialog& d) {
                  EXPECT_TRUE(d.Item<QCheckBox>(IDC_TICK)->isChecked());
                  EXPECT_EQ(d.GetDlgItemText(IDC_NUMBER), "50");
                  EXPECT_TRUE(d.Item<QRadioButton>(IDC_THREE)->isChecked());
                  EXPECT_EQ(FocusedId(), UINT(IDOK));
                  d.Click(IDC_TICK);
                  d.Click(IDC_TWO);
                  d.Click(IDC_OTHER); // another group: 二 stays checked
                  EXPECT_TRUE(d.Item<QRadioButton>(IDC_TWO)->isChecked());
                  d.Type("60");
                  d.Click(IDOK);
              }),
              IDOK);
    EXPECT_EQ(dialog.m_nTick, 0);
    EXPECT_EQ(dialog.m_nNumber, 60u);
    EXPECT_EQ(dialog.m_nChoice, 1);
    EXPECT_TRUE(messages.empty());

    // No member for a radio button clears the group.
    dialog.m_nChoice = -1;
    Run([](NumberDialog& d) {
        for (int id : {IDC_ONE, IDC_TWO, IDC_THREE}) {
            EXPECT_FALSE(d.Item<QRadioButton>(id)->isChecked()) << id;
        }
        d.Click(IDOK);
    });
    EXPECT_EQ(dialog.m_nChoice, -1);
}

TEST_F(DialogTest, FailedValidationStopsTellsAndSelectsTheField) {
    dialog.m_nChoice = 0;
    EXPECT_EQ(Run([this](NumberDialog& d) {
                  d.Click(IDC_TICK);
                  d.Click(IDC_TWO);
                  d.Type("5");
                  d.Click(IDOK);
                  ASSERT_EQ(messages.size(), 1u);
                  EXPECT_EQ(messages[0], "20 から 999 までの整数を入力してください。");
                  EXPECT_EQ(FocusedId(), UINT(IDC_NUMBER));
                  EXPECT_EQ(d.Item<QLineEdit>(IDC_NUMBER)->selectedText().toStdString(), "5");
                  // Taken up to the failing step: the check box and the
                  // number, not the radio buttons after it.
                  EXPECT_EQ(d.m_nTick, 1);
                  EXPECT_EQ(d.m_nNumber, 5u);
                  EXPECT_EQ(d.m_nChoice, 0);

                  for (const char* text : {"", "4294967296"}) { // beyond 32 bits too
                      d.Type(text);
                      EXPECT_FALSE(d.UpdateData(TRUE));
                      EXPECT_EQ(messages.back(), "正の整数を入力してください。");
                      EXPECT_EQ(d.m_nNumber, 5u);
                  }

                  d.Type("999");
                  d.Click(IDOK);
              }),
              IDOK);
    EXPECT_EQ(dialog.m_nNumber, 999u);
    EXPECT_EQ(dialog.m_nChoice, 1);
}

TEST_F(DialogTest, EscapeTheCloseBoxAndCancelEndWithCancelEnterWithOk) {
    const std::function<void(NumberDialog&)> ways[] = {
        [](NumberDialog& d) { QTest::keyClick(d.GetDialog(), Qt::Key_Escape); },
        [](NumberDialog& d) { d.GetDialog()->close(); },
        [](NumberDialog& d) { d.Click(IDCANCEL); },
    };
    for (const auto& act : ways) {
        dialog.m_nNumber = 50;
        EXPECT_EQ(Run(
                      [&](NumberDialog& d) {
                          d.Type("70");
                          act(d);
                      },
                      IDOK),
                  IDCANCEL);
        EXPECT_EQ(dialog.m_nNumber, 50u);
    }
    // Enter in the field presses the default button.
    EXPECT_EQ(Run([](NumberDialog& d) {
                  d.Type("70");
                  QTest::keyClick(d.Item<QLineEdit>(IDC_NUMBER), Qt::Key_Return);
              }),
              IDOK);
    EXPECT_EQ(dialog.m_nNumber, 70u);
    // A hook that leaves the dialog open ends it with its answer.
    EXPECT_EQ(Run([](NumberDialog&) {}, 42), 42);
}

TEST_F(DialogTest, AMnemonicClicksItsButton) {
    Run([](NumberDialog& d) {
        QTest::keyClick(d.GetDialog(), Qt::Key_K, Qt::AltModifier);
        QTest::qWait(300); // the click comes after a short animation
        EXPECT_TRUE(d.Item<QCheckBox>(IDC_TICK)->isChecked());
    });
}

TEST_F(DialogTest, UpDownSitsInItsBuddyAndStepsItsNumberInsideTheRange) {
    Run([](NumberDialog& d) {
        auto* edit = d.Item<QLineEdit>(IDC_NUMBER);
        auto* spin = d.Item<UpDownControl>(IDC_SPIN);
        // The field keeps its place; the arrows take its right end.
        const QRect field = edit->geometry();
        EXPECT_EQ(spin->geometry().right(), field.right() + spin->width());
        EXPECT_EQ(spin->geometry().top(), field.top());
        EXPECT_EQ(spin->height(), field.height());

        d.Type("998");
        spin->UpArrow()->click();
        EXPECT_EQ(d.GetDlgItemText(IDC_NUMBER), "999");
        spin->UpArrow()->click();
        EXPECT_EQ(d.GetDlgItemText(IDC_NUMBER), "999");
        QTest::keyClick(edit, Qt::Key_Down);
        EXPECT_EQ(d.GetDlgItemText(IDC_NUMBER), "998");
        d.Type("5"); // outside the range: the next step lands inside
        spin->UpArrow()->click();
        EXPECT_EQ(d.GetDlgItemText(IDC_NUMBER), "20");
        d.Type("");
        spin->DownArrow()->click();
        EXPECT_EQ(d.GetDlgItemText(IDC_NUMBER), "20");
        // Only digits can be typed.
        QTest::keyClicks(edit, "a1b");
        EXPECT_EQ(d.GetDlgItemText(IDC_NUMBER), "201");
    });
}

} // namespace
