#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/MockClock.h"
#include "tests/support/TempDir.h"
#include "ui/framework/CUi.h"
#include "ui/framework/CUiDriver.h"
#include "ui/framework/QtThreadSanitizer.h"


// The UI thread in virtual time on the offscreen platform: the test thread is
// the UI thread and a participant of the mock clock. Templates come from the
// shipped resources/dialogs, or from the test's own folder (WriteTemplate).
class UiFixture : public ::testing::Test {
protected:
    static std::string Repository()
    {
        return ZARNWELL_SOURCE_DIR;
    }
    static std::string Skin(const std::string& name) { return Repository() + "resources/Skin/" + name; }

    explicit UiFixture(bool shippedTemplates = false)
        : folder(shippedTemplates ? Repository() + "resources/dialogs/" : temp.Path() + "/")
    {
        clock.Participate();
        ui = std::make_unique<CUi>(clock, folder);
        driver = std::make_unique<CUiDriver>(*ui);
    }

    ~UiFixture() override
    {
        driver.reset();
        ui.reset();
        clock.Leave();
    }

    void WriteTemplate(int id, const std::string& content)
    {
        std::ofstream(folder + "Dialog" + std::to_string(id) + ".ini") << content;
    }

    CTempDir temp;
    CMockClock clock;
    std::string folder;
    std::unique_ptr<CUi> ui;
    std::unique_ptr<CUiDriver> driver;
};
