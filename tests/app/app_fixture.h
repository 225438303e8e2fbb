// Runs the real application object in the test process: its files in a
// fresh directory, message boxes and dialogs answered by hooks.
#pragma once

#include "app/mainfrm.h"
#include "app/tavoapp.h"
#include "document/tavodoc.h"
#include "platform/ui/ui_fixture.h"
#include "render/charpainter.h"
#include "resources/resource.h"
#include "support/bytes.h"
#include "view/tavoview.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

// piece, count times over.
inline std::string Repeat(const std::string& piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += piece;
    }
    return text;
}

// Counts the copies that reach the application and tells of every file opened.
class ProbeApp : public CTAVOApp {
public:
    explicit ProbeApp(const char* modulePath) : CTAVOApp(modulePath) {
        MapCommand(ID_EDIT_COPY, [this] { ++copies; });
    }
    CDocument* OpenDocumentFile(const char* lpszFileName, BOOL bToStderr = FALSE) override {
        if (onOpen && lpszFileName != nullptr) {
            onOpen(lpszFileName);
        }
        return CTAVOApp::OpenDocumentFile(lpszFileName, bToStderr);
    }
    int copies = 0;
    std::function<void(const char*)> onOpen;
};

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestApplication();
        base = std::filesystem::temp_directory_path() /
               ("tavo_app_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        // The program's folder is also $XDG_CONFIG_HOME/tavo: its files are in
        // dir, env file beside it or not, never in the user's own folder.
        dir = base / "tavo";
        std::filesystem::remove_all(base);
        std::filesystem::create_directories(dir);
        ::setenv("XDG_CONFIG_HOME", base.c_str(), 1);
        modulePath = (dir / "tavo").string();
        AfxSetMessageBoxHook([this](const std::string& text, UINT) {
            messages.push_back(text);
            return int(IDOK);
        });
    }

    void TearDown() override {
        Stop();
        ExpectFilesUntouched();
        AfxSetMessageBoxHook(nullptr);
        CDialog::SetModalHook(nullptr);
        std::filesystem::remove_all(base);
    }

    // Starts the program as with "tavo args..."; returns what InitInstance did.
    BOOL Start(std::vector<std::string> args = {}) {
        Stop();
        app = std::make_unique<ProbeApp>(modulePath.c_str());
        app->onOpen = [this](const char* path) { Remember(path); };
        SetArgs(*app, modulePath, std::move(args));
        return app->InitApplication() && app->InitInstance();
    }

    // Starts the program on a file with the given text and settings.
    void Open(const std::string& text, BYTE flags = 0, WORD wrap = ENV_WRAP_NONE | 80) {
        ASSERT_TRUE(Start({WriteFile("doc.jis", text)}));
        Env().bFlags = flags;
        Env().wWrap = wrap;
        View()->OnUpdate(nullptr, 0, nullptr);
    }

    int Stop() {
        const int code = app ? app->ExitInstance() : 0;
        app.reset();
        return code;
    }

    std::string WriteFile(const std::string& name, const std::string& bytes) {
        WriteBytes(dir / name, bytes);
        return (dir / name).string();
    }

    // The size, the modification time and, up to 16 MiB, the bytes of a file.
    struct FileState {
        std::uintmax_t size = 0;
        std::filesystem::file_time_type modified;
        std::string bytes;
        bool operator==(const FileState&) const = default;
    };
    static FileState StateOf(const std::filesystem::path& path) {
        std::error_code error;
        FileState state{std::filesystem::file_size(path, error),
                        std::filesystem::last_write_time(path, error), ""};
        if (state.size <= (16u << 20)) {
            state.bytes = ReadBytes(path);
        }
        return state;
    }

    // Every file opened keeps its bytes and modification time, unless the
    // test removed it.
    void Remember(const std::filesystem::path& path) {
        if (std::filesystem::is_regular_file(path) && std::ifstream(path).is_open()) {
            m_files.insert_or_assign(path, StateOf(path));
        }
    }
    void ExpectFilesUntouched() const {
        for (const auto& [path, state] : m_files) {
            if (std::filesystem::exists(path)) {
                EXPECT_EQ(StateOf(path), state) << path;
            }
        }
    }

    CMainFrame* Frame() const { return static_cast<CMainFrame*>(app->m_pMainWnd); }
    CView* View() const { return Frame()->GetActiveView(); }
    CTAVOView* TavoView() const { return static_cast<CTAVOView*>(View()); }
    CTAVODoc* Doc() const { return static_cast<CTAVODoc*>(View()->GetDocument()); }
    EnvSettings& Env() const { return app->m_envStore.m_env; }
    // The cell of the settings' fonts on a surface.
    SIZE Cell(CDC& dc) const {
        CCharPainter painter(&dc, &Env());
        painter.Restore();
        return {LONG(painter.m_cxCell), LONG(painter.m_cyCell)};
    }
    // The cell of the window's own fonts.
    SIZE WindowCell() const {
        CClientDC dc(View());
        return Cell(dc);
    }
    QMainWindow* Window() const { return Frame()->GetMainWindow(); }
    std::string Title() const { return Window()->windowTitle().toStdString(); }
    // The status bar's message pane.
    std::string Status() const {
        return Window()->statusBar()->findChildren<QLabel*>().front()->text().toStdString();
    }
    QToolBar* FindBar() const { return Window()->findChild<QToolBar*>("dialogBar131"); }
    QLineEdit* FindField() const { return FindBar()->findChild<QLineEdit*>(); }

    // The items of every popup of the menu bar, or of the one captioned popup.
    std::vector<QAction*> MenuItems(const char* popup = nullptr) const {
        std::vector<QAction*> items;
        for (QAction* top : Window()->menuBar()->actions()) {
            if (top->menu() != nullptr && (!popup || top->text() == QString::fromUtf8(popup))) {
                const QList<QAction*> actions = top->menu()->actions();
                items.insert(items.end(), actions.begin(), actions.end());
            }
        }
        return items;
    }
    // The menu item whose caption starts with caption, or null.
    QAction* MenuItem(const std::string& caption) const {
        for (QAction* item : MenuItems()) {
            if (item->text().toStdString().rfind(caption, 0) == 0) {
                return item;
            }
        }
        return nullptr;
    }
    // The toolbar's buttons in order, separators left out.
    std::vector<QAction*> ToolButtons() const {
        std::vector<QAction*> buttons;
        for (QAction* action : Window()->findChild<QToolBar*>()->actions()) {
            if (!action->isSeparator()) {
                buttons.push_back(action);
            }
        }
        return buttons;
    }

    QShortcut* Accelerator(const char* keys) const {
        for (QShortcut* s : Window()->findChildren<QShortcut*>()) {
            if (s->key() == QKeySequence(keys)) {
                return s;
            }
        }
        return nullptr;
    }

    // The captions of a popup's visible items, separators as "".
    std::vector<std::string> MenuTexts(const char* popup) const {
        std::vector<std::string> texts;
        for (QAction* item : MenuItems(popup)) {
            if (item->isVisible()) {
                texts.push_back(item->text().toStdString());
            }
        }
        return texts;
    }

    std::filesystem::path base;
    std::filesystem::path dir;
    std::string modulePath;
    std::vector<std::string> messages;
    std::unique_ptr<ProbeApp> app;

private:
    std::map<std::filesystem::path, FileState> m_files;
};
