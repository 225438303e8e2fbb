// Hands random argument vectors to the command-line parser. Whatever it
// is given, it either names what is wrong or asks for a command that has
// everything it needs.
#include "fuzz_support.h"

#include "app/cmdlineinfo.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Arguments are separated by zero bytes, as in the process's own vector.
    std::vector<std::string> args = {"tavo"};
    std::string arg;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(arg);
            arg.clear();
        } else {
            arg += char(data[i]);
        }
    }
    args.push_back(arg);
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);

    CWinApp app("tavo");
    app.SetCommandLine(int(args.size()), argv.data());
    CTAVOCommandLineInfo info;
    app.ParseCommandLine(info);

    if (!info.m_strError.empty()) {
        FUZZ_CHECK(!app.ProcessShellCommand(info));
        FUZZ_CHECK(app.m_nExitCode == 2);
        return 0;
    }
    if (info.m_bShowHelp || info.m_bShowVersion) {
        return 0;
    }
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        FUZZ_CHECK(info.m_strFileName.empty());
        break;
    case CCommandLineInfo::FileOpen:
    case CCommandLineInfo::FilePrint:
        FUZZ_CHECK(!info.m_strFileName.empty() && info.m_strPrinterName.empty());
        break;
    case CCommandLineInfo::FilePrintTo:
        FUZZ_CHECK(!info.m_strFileName.empty() && !info.m_strPrinterName.empty());
        break;
    default:
        FUZZ_CHECK(false);
    }
    return 0;
}
