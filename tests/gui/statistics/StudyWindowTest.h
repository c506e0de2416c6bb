#pragma once

#include "AnalysisWindowTestSupport.h"

#include "app/QuestionEtendue.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace statistics_ui_test {

// An analysis window's test on a small survey written from its text description into a folder
// of the test's own, which goes with the test.
class StudyWindowTest : public AnalysisWindowTest {
protected:
    void OpenSurvey(const std::string& description) {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = std::filesystem::path(::testing::TempDir()) /
                   (std::string(test->test_suite_name()) + "." + test->name());
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        const std::string path = (m_folder / "etude.qes").string();
        qesbuild::FixtureDescription fixture = qesbuild::DescriptionParser::Parse(description, "etude.txt", m_folder);
        qesbuild::WriteFixture(fixture, path);
        m_context.questionnairePath = path;
        ASSERT_TRUE(m_context.OuvrirEtude()) << m_context.GetLastError();
    }

    void TearDown() override {
        AnalysisWindowTest::TearDown();
        std::filesystem::remove_all(m_folder);
    }

    CQuestionEtendue& Named(const char* name) {
        CQuestionEtendue* question = m_context.TrouverQuestionParNom(name);
        EXPECT_NE(question, nullptr) << name;
        return *question;
    }

    // The view of the document opened by the template from the source.
    template <class Document, class View> View& Open(DocumentSource source) {
        CDocument* document = AddTemplate<Document, View>().OpenDocumentFile(source);
        EXPECT_NE(document, nullptr);
        return *dynamic_cast<View*>(document->GetViews().front());
    }

    std::filesystem::path m_folder;
};

} // namespace statistics_ui_test
