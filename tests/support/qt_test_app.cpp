// Real drawing surfaces need a QGuiApplication; tests get one on Qt's
// offscreen platform for the whole run.
#include <QGuiApplication>
#include <gtest/gtest.h>

#include <memory>

namespace {

struct GuiEnvironment : ::testing::Environment {
    void SetUp() override {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    void TearDown() override { app.reset(); }

    int argc = 1;
    char name[6] = "tests";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QGuiApplication> app;
};

const auto* const ENVIRONMENT = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

} // namespace
