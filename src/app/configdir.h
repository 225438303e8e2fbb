// Where the program keeps its settings (the env file) and its recent files
// (the ini file): beside the executable for a portable copy, else in the
// user's configuration folder.
#pragma once

#include <string>

struct SettingsFiles {
    std::string strEnvPath;
    std::string strIniPath;
};

// Beside modulePath when an env file already stands there (anything by
// that name, a link or a file that cannot be read too: it is the user's
// choice of a portable copy); otherwise in $XDG_CONFIG_HOME/tavo, or
// $HOME/.config/tavo when that is unset, empty or not absolute. With
// neither variable usable the files stay beside the executable. The
// folder is not created here: the first save makes it.
SettingsFiles FindSettingsFiles(const std::string& modulePath);

// Where glyph images are cached between runs: $XDG_CACHE_HOME/tavo, or
// $HOME/.cache/tavo when that is unset, empty or not absolute; empty, and
// nothing cached, with neither variable usable. Made at the first save.
std::string FindCacheFolder();
