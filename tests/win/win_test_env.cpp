// Windows-side test environment: the application object is initialised once
// for the whole test binary, as the program entry does.
#include <windows.h>

#include <gtest/gtest.h>

#include "toolkit/application_win.h"

namespace {

class AppEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        tk::app().setTitle(L"Hueloom tests");
        tk::app().initialize(GetModuleHandleW(nullptr));
    }
};

const auto* const env = ::testing::AddGlobalTestEnvironment(new AppEnvironment);

}  // namespace
