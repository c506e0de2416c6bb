#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/QuestionCalculee.h"
#include "app/QuestionnaireSource.h"
#include "platform/questionnaire/DBStructure.h"
#include "platform/questionnaire/Questionnaire.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"

namespace survey_test {

// A source whose questionnaire is built in code; it may have a table of computed variables.
class CodeSource : public CQuestionnaireSource {
public:
    using Builder = std::function<void(CQuestionnaire&)>;

    explicit CodeSource(Builder build) : m_build(std::move(build)) {}

    bool LireStructure(CQuestionnaire& questionnaire) override {
        if (failing)
            return false;
        m_build(questionnaire);
        return true;
    }
    bool ExisteTableVariable() override { return hasVariableTable; }
    void LireVariables(std::vector<std::unique_ptr<CQuestionCalculee>>& definitions) override {
        for (const auto& [code, label] : variables) {
            auto definition = std::make_unique<CQuestionCalculee>();
            definition->code = code;
            definition->label = label;
            definition->kind = 3;
            definitions.push_back(std::move(definition));
        }
    }
    void LireRecodages(std::vector<std::unique_ptr<CQuestionEtendue>>&,
                       std::vector<std::unique_ptr<CQuestionNiveau>>&) override {
        ++recodeReads;
    }

    bool failing = false;
    bool hasVariableTable = false;
    std::vector<std::pair<std::int32_t, std::string>> variables;
    int recodeReads = 0;

private:
    Builder m_build;
};

// A source reading a questionnaire file through the structure layer, without computed variables
// or recodes.
class FileSource : public CQuestionnaireSource {
public:
    explicit FileSource(std::string path) : m_path(std::move(path)) {}

    bool LireStructure(CQuestionnaire& questionnaire) override {
        CDBStructure structure(m_path);
        if (!structure.Open(true) || !structure.LirePropriete(questionnaire))
            return false;
        if (questionnaire.GetFileVersion() >= 401 && !structure.ReadLanguages(questionnaire))
            return false;
        if (!structure.LireQuestions(questionnaire, true) || !structure.LireModalites(questionnaire, true))
            return false;
        structure.LireModalitesSemiOuvertes(questionnaire);
        questionnaire.PreparerSaisie();
        return true;
    }
    bool ExisteTableVariable() override { return false; }
    void LireVariables(std::vector<std::unique_ptr<CQuestionCalculee>>&) override {}
    void LireRecodages(std::vector<std::unique_ptr<CQuestionEtendue>>&,
                       std::vector<std::unique_ptr<CQuestionNiveau>>&) override {}

private:
    std::string m_path;
};

// Writes the fixture described by the text to the path.
inline void WriteFixtureText(std::string_view text, const std::string& folder, const std::string& path) {
    qesbuild::FixtureDescription fixture = qesbuild::DescriptionParser::Parse(text, "fixture.txt", folder);
    qesbuild::WriteFixture(fixture, path);
}

} // namespace survey_test
