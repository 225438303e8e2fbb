// Runs the settings command in the real program and works the dialog, and
// the choosers it opens, through their controls.
#pragma once

#include "app/app_fixture.h"
#include "envdialog/envdialog.h"
#include "platform/ui/commdlg.h"
#include "support/bytes.h"

#include <QAbstractButton>
#include <QDialog>
#include <QTest>

#include <functional>

class EnvDialogTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        ASSERT_TRUE(Start());
    }

    std::filesystem::path EnvPath() const { return dir / "tavo.env"; }

    // Chooses 動作環境 and works the dialog with act; the choosers it opens
    // are answered by chooseFont and chooseColor (Cancel when unset). A
    // dialog act leaves open is cancelled. Returns whether the command ran
    // the settings dialog, once: checks inside act count only then.
    bool Settings(const std::function<void(CEnvDialog&)>& act) {
        const int before = settingsDialogs;
        CDialog::SetModalHook([&](CDialog& dialog) {
            if (auto* env = dynamic_cast<CEnvDialog*>(&dialog)) {
                ++settingsDialogs;
                EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.GetDialog()));
                act(*env);
            } else if (auto* font = dynamic_cast<CFontDialog*>(&dialog); font && chooseFont) {
                ++fontChoosers;
                chooseFont(*font);
            } else if (auto* color = dynamic_cast<CColorDialog*>(&dialog); color && chooseColor) {
                ++colorChoosers;
                chooseColor(*color);
            }
            return int(IDCANCEL);
        });
        const bool ran = Frame()->ExecuteCommand(ID_ENV_SETTINGS);
        CDialog::SetModalHook(nullptr);
        return ran && settingsDialogs == before + 1;
    }

    // Paints the view, goes to the bottom and the right end and paints again.
    void PaintAndScroll() const {
        View()->OnUpdate(nullptr, 0, nullptr);
        View()->GetSafeHwnd()->grab();
        View()->OnVScroll(SB_BOTTOM, 0, nullptr);
        View()->OnHScroll(SB_RIGHT, 0, nullptr);
        View()->GetSafeHwnd()->grab();
    }

    static void Click(const CDialog& dialog, UINT nID) {
        dynamic_cast<QAbstractButton*>(dialog.GetDlgItem(int(nID)))->click();
    }
    static bool Checked(const CDialog& dialog, UINT nID) {
        return dynamic_cast<QAbstractButton*>(dialog.GetDlgItem(int(nID)))->isChecked();
    }
    static void TypeColumn(CDialog& dialog, const char* text) {
        dialog.SetDlgItemText(IDC_WRAP_COLUMN, text);
    }

    std::function<void(CFontDialog&)> chooseFont;
    std::function<void(CColorDialog&)> chooseColor;
    // The dialogs and choosers the hook has answered.
    int settingsDialogs = 0;
    int fontChoosers = 0;
    int colorChoosers = 0;
};
