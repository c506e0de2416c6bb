// The two exports of the File menu: the interviews of a study field, and a selection of questions.
// Both build the new file under a temporary name beside the target and give it the target's name
// only once it is complete, so a failure never leaves a file that looks complete; the open
// questionnaire is never a target.

#include <filesystem>
#include <numeric>
#include <system_error>

#include "app/DataAccess.h"
#include "app/Enquete.h"
#include "app/MatriceCodes.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/ResponseTableScan.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"
#include "app/VecteurDouble.h"
#include "platform/db/DbException.h"
#include "platform/db/Recordset.h"
#include "platform/questionnaire/DBStructure.h"
#include "platform/questionnaire/Questionnaire.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kPrimaryKey = "PrimaryKey";
constexpr const char* kCompleted = "Completed";
constexpr std::int32_t kNoAnswerCode = -2;
constexpr std::int32_t kSecondMissingCode = -1;
constexpr std::size_t kNameLength = 50;
constexpr const char* kVersionCaption = "Version";

// The same file, whichever way its path is written (links, "..", a file not made yet).
bool SameFile(const std::string& left, const std::string& right) {
    std::error_code error;
    if (fs::exists(left, error) && fs::exists(right, error) && fs::equivalent(left, right, error))
        return true;
    const fs::path a = fs::weakly_canonical(fs::absolute(left, error), error);
    const fs::path b = fs::weakly_canonical(fs::absolute(right, error), error);
    return !a.empty() && a == b;
}

// A name beside the target that no file has.
std::string PartialName(const std::string& target) {
    std::error_code error;
    for (int attempt = 0;; ++attempt) {
        std::string name = target + ".partiel" + (attempt == 0 ? std::string() : std::to_string(attempt));
        if (!fs::exists(name, error))
            return name;
    }
}

void RemoveFile(const std::string& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
}

// The first `count` characters of a UTF-8 text (a character is never cut in two).
std::string FirstCharacters(const std::string& text, std::size_t count) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool startsCharacter = (byte & 0xC0) != 0x80;
        if (startsCharacter && characters++ == count)
            return text.substr(0, i);
    }
    return text;
}

} // namespace

// One question of a selection export: the survey's question, its copy in the new questionnaire,
// and for a closed question the code each modality index of the source is written as.
struct CDataAccess::ExportedQuestion {
    CQuestionEtendue* source = nullptr;
    CQuestion* copy = nullptr;
    std::vector<std::int32_t> codeOfIndex;
};

bool CDataAccess::RefuseOpenQuestionnaire(const std::string& target) {
    if (!SameFile(target, m_path))
        return false;
    GetUserInterface().ShowMessage(Message(StringTable::kExportSurQuestionnaireOuvert, {target}),
                                   UserInterface::Icon::Error);
    return !Fail(StringTable::Format(Message(StringTable::kExportSurQuestionnaireOuvert, {target})));
}

bool CDataAccess::ExportFailure(const std::string& partial, const std::string& text) {
    RemoveFile(partial);
    GetUserInterface().ShowMessage(Message::Text(text), UserInterface::Icon::Error);
    return Fail(text);
}

// ---- The interviews of a study field --------------------------------------------------------------

bool CDataAccess::ExporterInterviewsChampEtude(const std::string& target, const CVecteurDouble& membership) {
    if (!RequireReadable("ExporterInterviewsChampEtude") || RefuseOpenQuestionnaire(target))
        return false;
    CQuestionNiveau* interviews = nullptr;
    if (!LoadLevel(0, interviews))
        return ExportFailure({}, m_levelErrorText);
    if (membership.GetSize() != interviews->GetNbreEnregistrements())
        return ExportFailure({}, "CDataAccess::ExporterInterviewsChampEtude : " +
                                     std::to_string(membership.GetSize()) + " valeurs pour " +
                                     std::to_string(interviews->GetNbreEnregistrements()) + " interviews");
    const std::string partial = PartialName(target);
    std::error_code error;
    if (!fs::copy_file(m_path, partial, fs::copy_options::overwrite_existing, error)) {
        RemoveFile(partial);
        GetUserInterface().ShowMessage(Message(StringTable::kImpossibleCopierFichier), UserInterface::Icon::Error);
        return Fail(StringTable::Text(StringTable::kImpossibleCopierFichier));
    }
    WaitCursor wait(GetUserInterface());
    if (!FilterInterviews(partial, interviews->GetEnregistrements(), membership))
        return ExportFailure(partial, GetErrorText());
    fs::rename(partial, target, error);
    if (error)
        return ExportFailure(partial, error.message());
    return true;
}

bool CDataAccess::FilterInterviews(const std::string& path, const CRecordKeys& interviews,
                                   const CVecteurDouble& membership) {
    CDataAccess copy(path);
    const bool filtered = copy.IsOpen() && copy.WriteJob("ExporterInterviewsChampEtude", [&](db::Database& database) {
        const int tables = copy.NombreTablesReponse();
        for (int table = 1; table <= tables; ++table) {
            db::Recordset records(database, NomTableReponse(table), {NomCle(1)});
            records.setCurrentIndex(kPrimaryKey);
            ResponseTableScan::LevelRows rows(interviews, 1);
            for (records.moveFirst(); !records.isEOF(); records.moveNext()) {
                const auto interview = static_cast<std::int32_t>(records.value(0).toInteger());
                const int row = rows.Find(&interview);
                if (row < 0 || membership.GetAt(row) == 0.0)
                    records.deleteCurrent();
            }
        }
    });
    if (!filtered)
        SetErrorText(copy.GetErrorText());
    return filtered;
}

// ---- A selection of questions -------------------------------------------------------------------

bool CDataAccess::ExporterSelectionQuestions(const std::string& target, const std::vector<std::uint32_t>& positions,
                                             bool withVersion, int version, int level) {
    if (!RequireReadable("ExporterSelectionQuestions") || RefuseOpenQuestionnaire(target))
        return false;
    CEnquete& survey = *GetEnquete();
    WaitCursor wait(GetUserInterface());
    CQuestionNiveau* records = nullptr;
    if (!LoadLevel(level, records))
        return ExportFailure({}, m_levelErrorText);

    CQuestionnaire questionnaire;
    int major = 0;
    int minor = 0;
    CDBStructure::GetNewestFileVersion(major, minor);
    questionnaire.majorVersion = major;
    questionnaire.minorVersion = minor;
    questionnaire.name = fs::path(target).stem().string();
    questionnaire.languages = survey.languages;
    if (survey.questionnaireLanguage != 0)
        questionnaire.language = survey.questionnaireLanguage;

    std::int32_t nextCode = 1;
    const CQuestion* versionQuestion = nullptr;
    if (withVersion) {
        auto question = std::make_unique<CQuestion>();
        question->code = nextCode++;
        question->name = kVersionCaption;
        question->kind = 1;
        question->depth = 1;
        question->type = 5;
        question->hasNoAnswer = 0;
        for (const CLanguage& language : survey.languages) {
            question->SetLocalisedShortCaption(language.id, kVersionCaption);
            question->SetLocalisedLongCaption(language.id, kVersionCaption);
        }
        versionQuestion = question.get();
        questionnaire.AddQuestion(std::move(question));
    }

    std::vector<ExportedQuestion> exported;
    std::int32_t nextModalityCode = 1;
    for (std::uint32_t position : positions) {
        CQuestionEtendue* source = survey.DonnerQuestion(static_cast<int>(position));
        if (source == nullptr)
            return ExportFailure({}, "CDataAccess::ExporterSelectionQuestions : la question " +
                                         std::to_string(position) + " n'existe pas");
        auto copy = std::make_unique<CQuestion>(static_cast<const CQuestion&>(*source));
        copy->code = nextCode++;
        copy->responseTable = 0;
        copy->levelTable = 0;
        copy->tablePerOrder.clear();
        copy->name = FirstCharacters(source->name, kNameLength);
        copy->depth = 1;
        // The answers go out as plain modality codes: the semi-open answers stay behind.
        copy->semiOpen = false;
        copy->semiOpens.clear();
        if (source->EstFermee() && source->EstRecodageLevelModalite()) {
            CMatriceCodes matrix;
            if (LireReponsesFermeesNiveau(*source, level, matrix)) {
                copy->answerCount = static_cast<std::int16_t>(matrix.GetNbColonnes());
                copy->multipleAnswers = matrix.GetNbColonnes() > 1;
            } else {
                GetUserInterface().ShowMessage(Message::Text(GetErrorText()), UserInterface::Icon::Error);
            }
        }
        ExportedQuestion entry;
        entry.source = source;
        copy->DetruireModalites();
        const int count = source->GetNbreModalite();
        for (int i = 0; i < count; ++i) {
            const CModalite* modality = source->GetModalite(i);
            std::int32_t written = modality != nullptr ? modality->code : kNoAnswerCode;
            if (modality != nullptr && written != kNoAnswerCode && written != kSecondMissingCode) {
                auto kept = std::make_unique<CModalite>(*modality);
                kept->code = nextModalityCode++;
                written = kept->code;
                copy->AddModalite(std::move(kept));
            }
            if (source->hasNoAnswer != 0 && i == count - 2)
                written = kSecondMissingCode;
            if (source->AModaliteAutre() && i == count - 1)
                written = kNoAnswerCode;
            entry.codeOfIndex.push_back(written);
        }
        entry.copy = copy.get();
        exported.push_back(std::move(entry));
        questionnaire.AddQuestion(std::move(copy));
    }

    const std::string partial = PartialName(target);
    if (!ExportStructure(partial, questionnaire))
        return ExportFailure(partial, GetErrorText());
    if (!ExportAnswers(partial, exported, versionQuestion, version, level, records->GetNbreEnregistrements()))
        return ExportFailure(partial, GetErrorText());
    std::error_code error;
    fs::rename(partial, target, error);
    if (error)
        return ExportFailure(partial, error.message());
    return true;
}

bool CDataAccess::ExportStructure(const std::string& path, CQuestionnaire& questionnaire) {
    CDBStructure structure(path);
    if (structure.CreateDatabase(questionnaire.GetFileVersion()) && structure.DoSaveQuestionnaire(&questionnaire) &&
        structure.VerifyResponseStructure(questionnaire))
        return true;
    return Fail(structure.GetErrorText());
}

// One record per record of the chosen level in table 1, numbered from 1 and completed; then the
// version and each question's answers carried to that level. A question that cannot be read or
// written is reported and the export goes on.
bool CDataAccess::ExportAnswers(const std::string& path, const std::vector<ExportedQuestion>& exported,
                                const CQuestion* versionQuestion, int version, int level, int recordCount) {
    CDataAccess target(path);
    if (!target.IsOpen())
        return Fail(target.GetErrorText());
    std::vector<std::int32_t> numbers(static_cast<std::size_t>(std::max(recordCount, 0)));
    std::iota(numbers.begin(), numbers.end(), 1);
    CRecordKeys keys;
    keys.Assign(1, std::move(numbers));
    const bool created = target.WriteJob("ExporterSelectionQuestions", [&](db::Database& database) {
        db::Recordset interviews(database, NomTableReponse(1), {NomCle(1), kCompleted});
        interviews.setCurrentIndex(kPrimaryKey);
        for (const RecordKey& key : keys) {
            if (interviews.seek("=", {key.front()})) {
                interviews.edit();
            } else {
                interviews.addNew();
                interviews.setValue(0, key.front());
            }
            interviews.setValue(1, true);
            interviews.update();
        }
    });
    if (!created)
        return Fail(target.GetErrorText());
    if (versionQuestion != nullptr) {
        CVecteurDouble versions(recordCount);
        versions.Remplir(static_cast<double>(version));
        if (!target.EcrireValeurs(*versionQuestion, versions, keys))
            return Fail(target.GetErrorText());
    }
    UserInterface& ui = GetUserInterface();
    const auto report = [&ui](const std::string& text) { ui.ShowMessage(Message::Text(text), UserInterface::Icon::Error); };
    for (const ExportedQuestion& entry : exported) {
        CQuestionEtendue& source = *entry.source;
        if (source.EstFermee()) {
            CMatriceCodes matrix;
            if (!LireReponsesFermeesNiveau(source, level, matrix))
                report(GetErrorText());
            else if (!target.WriteCodes(*entry.copy, matrix, keys, entry.codeOfIndex, "ExporterSelectionQuestions"))
                report(target.GetErrorText());
        } else if (source.EstNumeriqueLibre() || source.EstDate()) {
            CVecteurDouble values;
            if (!LireValeursNumeriquesNiveau(source, level, values))
                report(GetErrorText());
            else if (!target.EcrireValeurs(*entry.copy, values, keys))
                report(target.GetErrorText());
        } else if (source.EstOuverte()) {
            std::vector<std::string> texts;
            if (!LireReponsesOuvertesNiveau(source, level, texts))
                report(GetErrorText());
            else if (!target.EcrireTextes(*entry.copy, texts, keys))
                report(target.GetErrorText());
        }
    }
    return true;
}
