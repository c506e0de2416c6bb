#pragma once

#include "SurveyTestSupport.h"
#include "app/ContexteEtude.h"
#include "app/MemorySettingsStore.h"
#include "app/Registre.h"
#include "support/RecordingUserInterface.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <utility>

namespace context_test {

// Three interviews, a closed question, an open one that could label them.
constexpr const char* kClients = R"(
questionnaire "Clients" language=fr
language 1036 fr "Français"
question 1 SEXE closed
  caption fr "Sexe"
  modality 1 fr "Homme"
  modality 2 fr "Femme"
question 2 NOM open
question 3 AGE numeric
records
Cle1,1;1,2;1,3;1
1,1,"Alice",34
2,2,"Bruno",51
3,1,"Chloé",27
end
)";

// Another questionnaire, with questions of its own.
constexpr const char* kVentes = R"(
questionnaire "Ventes" language=fr
language 1036 fr "Français"
question 7 REGION closed
  modality 1 fr "Nord"
  modality 2 fr "Sud"
records
Cle1,7;1
1,2
end
)";

inline void WriteQuestionnaire(const char* description, const std::string& path) {
    const auto folder = std::filesystem::path(path).parent_path();
    qesbuild::FixtureDescription fixture =
        qesbuild::DescriptionParser::Parse(description, "fixture.txt", folder);
    qesbuild::WriteFixture(fixture, path);
}

inline std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Installs a settings store in memory for the life of the object, then gives the previous one
// back.
class SettingsInMemory {
public:
    SettingsInMemory() {
        auto store = std::make_unique<MemorySettingsStore>();
        store_ = store.get();
        previous_ = CRegistre::InstallStore(std::move(store));
    }
    ~SettingsInMemory() { CRegistre::InstallStore(std::move(previous_)); }
    SettingsInMemory(const SettingsInMemory&) = delete;
    SettingsInMemory& operator=(const SettingsInMemory&) = delete;

    MemorySettingsStore& Store() { return *store_; }

private:
    MemorySettingsStore* store_ = nullptr;
    std::unique_ptr<SettingsStore> previous_;
};

// Gives the context a recording user; answers it (the context owns it).
inline RecordingUserInterface* InstallRecorder(CContexteEtude& context) {
    auto recorder = std::make_unique<RecordingUserInterface>();
    RecordingUserInterface* raw = recorder.get();
    context.SetUserInterface(std::move(recorder));
    return raw;
}

// Opens the questionnaire at `path`, its level 0 holding `interviews` records.
inline bool OpenContext(CContexteEtude& context, const std::string& path, int interviews) {
    auto keys = std::make_unique<survey_test::ScriptedRecordKeys>();
    CRecordKeys& interviewKeys = keys->keysByLevel[0];
    interviewKeys.Reset(1);
    for (std::int32_t i = 1; i <= interviews; ++i)
        interviewKeys.Append(&i);
    context.SetRecordKeySource(std::move(keys));
    context.questionnairePath = path;
    return context.OuvrirEtude();
}

// A context with a recording user, as a test owns one.
struct TestContext {
    TestContext() : ui(InstallRecorder(context)) {}
    bool Open(const std::string& path, int interviews) { return OpenContext(context, path, interviews); }

    CContexteEtude context;
    RecordingUserInterface* ui = nullptr; // owned by the context
};

} // namespace context_test
