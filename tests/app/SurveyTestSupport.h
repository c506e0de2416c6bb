#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/Enquete.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/RecordKeySource.h"

namespace survey_test {

// A survey with paths of its own, as the study context will give them.
class TestSurvey : public CEnquete {
public:
    std::string DonnerCheminBase() const override { return basePath; }
    std::string DonnerCheminDonnees() const override { return basePath; }
    std::string DonnerRepertoireInversion() const override { return invertedFolder; }

    std::string basePath;
    std::string invertedFolder;
    std::int32_t applicationLanguage = 1036;

protected:
    std::int32_t DonnerLangueApplication() const override { return applicationLanguage; }
};

// Record keys given by level index; a level listed in `failing` fails with its own message.
class ScriptedRecordKeys : public CRecordKeySource {
public:
    bool ReadRecordKeys(const CQuestionNiveau&, int levelIndex, CRecordKeys& keys,
                        std::string& error) override {
        ++reads[levelIndex];
        if (failing.count(levelIndex) != 0) {
            error = "level " + std::to_string(levelIndex) + " unreadable";
            return false;
        }
        const auto found = keysByLevel.find(levelIndex);
        if (found != keysByLevel.end())
            keys = found->second;
        return true;
    }

    std::map<int, CRecordKeys> keysByLevel;
    std::set<int> failing;
    std::map<int, int> reads;
};

inline CQuestionEtendue& AddQuestion(CEnquete& survey, std::int32_t code, const std::string& name,
                                     std::int16_t depth = 1, std::int16_t kind = 1, std::int16_t type = 1) {
    auto question = std::make_unique<CQuestionEtendue>(&survey);
    question->code = code;
    question->name = name;
    question->depth = depth;
    question->kind = kind;
    question->type = type;
    survey.questions.push_back(std::move(question));
    return *survey.questions.back();
}

inline CModaliteEtendue& AddModality(CQuestionEtendue& question, std::int32_t code,
                                     const std::string& caption = {}, std::int32_t language = 1036) {
    auto modality = std::make_unique<CModaliteEtendue>(question.GetEnquete());
    modality->code = code;
    if (!caption.empty())
        modality->SetLocalisedShortCaption(language, caption);
    auto* raw = modality.get();
    question.AddModalite(std::move(modality));
    return *raw;
}

inline CQuestionNiveau& AddLevel(CEnquete& survey, std::int32_t code, std::int16_t depth, const std::string& name) {
    auto level = std::make_unique<CQuestionNiveau>(&survey);
    level->code = code;
    level->depth = depth;
    level->kind = 2;
    level->name = name;
    survey.levels.push_back(std::move(level));
    return *survey.levels.back();
}

// A folder of its own under the system's temporary folder, removed with the object.
class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "morvane-app-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string Sub(const std::string& name) const { return (std::filesystem::path(path_) / name).string(); }

private:
    std::string path_;
};

} // namespace survey_test
