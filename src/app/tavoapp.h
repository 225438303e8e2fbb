// The application object: owns the settings of the run, keeps its files
// beside the executable of a portable copy or in the user's configuration
// folder, and ties the document, the frame and the view together.
#pragma once

#include "configdir.h"
#include "platform/ui/ui.h"
#include "settings/envsettings.h"

#include <string>

class CTAVOApp : public CWinApp {
public:
    // The env and ini files sit beside modulePath, by default the running
    // executable, when an env file stands there; else in the user's
    // configuration folder.
    explicit CTAVOApp(const char* modulePath = nullptr);

    BOOL InitInstance() override;
    // Keeps the glyphs this run rasterised for the next; a cache that
    // cannot be written is said on stderr and changes nothing else.
    int ExitInstance() override;
    void OnAppAbout();

    EnvStore m_envStore;

protected:
    std::string DescribeLoadFailure(CDocument* pDoc) const override;

private:
    static std::string ModulePath(const char* modulePath);

    SettingsFiles m_settingsFiles;
};
