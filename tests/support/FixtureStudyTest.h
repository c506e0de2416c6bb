#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "support/RecordingUserInterface.h"
#include "support/SettingsFixture.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"

// A test on a small survey written from its text description: the survey is written into a folder
// of the test's own, opened in a study context with a recording user interface, and the folder
// goes with the test.
class FixtureStudyTest : public SettingsFixture {
protected:
    // Writes the description as NAME.qes and opens it; the test fails when it does not open.
    void OpenFixture(const char* description, const std::string& name) {
        folder = std::filesystem::path(::testing::TempDir()) /
                 (name + "_" + TestName());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        const std::string path = (folder / (name + ".qes")).string();
        qesbuild::FixtureDescription fixture = qesbuild::DescriptionParser::Parse(description, name + ".txt", folder);
        qesbuild::WriteFixture(fixture, path);
        auto recorder = std::make_unique<RecordingUserInterface>();
        ui = recorder.get();
        context.SetUserInterface(std::move(recorder));
        context.questionnairePath = path;
        ASSERT_TRUE(context.OuvrirEtude()) << context.GetLastError();
    }

    // The suite's name and the test's: two suites of one executable may hold tests of one name,
    // and ctest runs them at the same time.
    static std::string TestName() {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        return std::string(test->test_suite_name()) + "." + test->name();
    }

    void TearDown() override {
        std::filesystem::remove_all(folder);
        SettingsFixture::TearDown();
    }

    CQuestionEtendue& Named(const std::string& name) {
        CQuestionEtendue* question = context.TrouverQuestionParNom(name);
        EXPECT_NE(question, nullptr) << name;
        return *question;
    }

    std::filesystem::path folder;
    CContexteEtude context;
    RecordingUserInterface* ui = nullptr;
};
