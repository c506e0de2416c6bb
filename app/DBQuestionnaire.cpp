#include "app/DBQuestionnaire.h"

#include <memory>

#include "app/InvertedFilesFingerprint.h"

#include "app/Enquete.h"
#include "app/Message.h"
#include "app/QuestionCalculee.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/QuestionnaireLoader.h"
#include "app/Recodage.h"
#include "app/StringTable.h"
#include "app/TblCalcule.h"
#include "app/TblRecode.h"
#include "app/UserInterface.h"
#include "platform/db/Database.h"
#include "platform/db/DbException.h"
#include "platform/db/Transaction.h"
#include "platform/questionnaire/Language.h"
#include "platform/questionnaire/Questionnaire.h"

namespace {

constexpr const char* kQuestionnaireTable = "Questionnaire";
constexpr const char* kLevelLinkField = "IsLevelLink";

// The index of the first level with that code; 0 (the interviews) when none has it.
int LevelIndexOf(std::int32_t code, const std::vector<std::unique_ptr<CQuestionNiveau>>& levels) {
    for (std::size_t i = 0; i < levels.size(); ++i) {
        if (levels[i] && levels[i]->code == code)
            return static_cast<int>(i);
    }
    return 0;
}

} // namespace

CDBQuestionnaire::CDBQuestionnaire(CEnquete& survey, UserInterface* ui)
    : CDBStructure(survey.DonnerCheminBase()), CQuestionnaireSource(&survey), m_ui(ui) {}

// The definitions the program saves change the questionnaire file but none of its answers: the
// inverted files believed until then are still the answers' own, so the record of the inversion
// takes the file as the program leaves it. Without this, saving a study field would send every
// later table of the survey to the response tables until the next inversion.
CDBQuestionnaire::~CDBQuestionnaire() {
    const bool wrote = IsOpen() && GetDatabase().hasWritten();
    Close();
    CEnquete* survey = GetEnquete();
    if (!wrote || survey == nullptr)
        return;
    InvertedFilesFingerprint& record = survey->GetInvertedFilesFingerprint();
    std::string error;
    if (record.IsRecordBelieved() && !record.Refresh({}, error) && m_ui != nullptr)
        m_ui->ShowMessage(Message::Text(error), UserInterface::Icon::Warning);
}

// ---- Failure conventions ---------------------------------------------------------------------

bool CDBQuestionnaire::RunReportingText(std::string_view operation, const std::function<void()>& job) {
    const std::string name = "CDBQuestionnaire::" + std::string(operation);
    try {
        job();
        return true;
    } catch (const db::DbException& error) {
        m_errorText = StringTable::Format(Message(StringTable::kErreurBaseDeDonnees, {error.cause(), name}));
    } catch (...) {
        m_errorText = StringTable::Format(Message(StringTable::kErreurInconnue, {name}));
    }
    return false;
}

bool CDBQuestionnaire::RunShowingBox(const std::function<void()>& job) {
    try {
        job();
        return true;
    } catch (const db::DbException& error) {
        if (m_ui != nullptr)
            m_ui->ShowMessage(Message::Text(error.cause()), UserInterface::Icon::Error);
        else
            m_errorText = error.cause();
    } catch (...) {
    }
    return false;
}

// ---- The loader's source ---------------------------------------------------------------------

bool CDBQuestionnaire::LireStructure(CQuestionnaire& questionnaire) {
    if (!LirePropriete(questionnaire))
        return false;
    if (questionnaire.GetFileVersion() < kFirstVersionWithLanguages) {
        CLanguage language(m_applicationLanguage);
        language.isDefault = true;
        questionnaire.AddLanguage(language);
        questionnaire.language = m_applicationLanguage;
    } else if (!ReadLanguages(questionnaire)) {
        return false;
    }
    // Semi-open answers that cannot be read would leave their answers counted nowhere.
    if (!LireQuestions(questionnaire, true) || !LireModalites(questionnaire, true) ||
        !LireModalitesSemiOuvertes(questionnaire))
        return false;
    questionnaire.PreparerSaisie();
    return true;
}

bool CDBQuestionnaire::ExisteTableVariable() {
    bool exists = false;
    RunShowingBox([&] { exists = CTblCalcule::ExisteTable(GetDatabase()); });
    return exists;
}

void CDBQuestionnaire::LireVariables(std::vector<std::unique_ptr<CQuestionCalculee>>& definitions) {
    // Definitions are handed over only when the whole table was read.
    std::vector<std::unique_ptr<CQuestionCalculee>> read;
    const bool complete = RunShowingBox([&] {
        CTblCalcule table(GetDatabase());
        table.Open();
        table.SetCurrentIndex("PrimaryKey");
        for (; !table.IsEOF(); table.MoveNext()) {
            auto definition = CQuestionCalculee::Creer();
            definition->code = table.m_CodeVariable;
            definition->label = table.m_Libelle;
            definition->kind = table.m_TypeVariable;
            definition->definition = table.m_Expression;
            definition->themes = table.m_Themes;
            definition->maxAnswers = table.m_NbMaxReponse;
            definition->responseTable = table.m_NroTableReponse;
            definition->reference1 = {table.m_CodeQuestion1, table.m_ClesQuestion1, table.m_CodeRegroupement1};
            definition->reference2 = {table.m_CodeQuestion2, table.m_ClesQuestion2, table.m_CodeRegroupement2};
            // Only a superposition keeps the option; a table without the column reads 0.
            if (definition->kind == CQuestionCalculee::kTypeSuperposition)
                definition->superposition = table.m_EstCumule != 0 ? 1 : 0;
            read.push_back(std::move(definition));
        }
    });
    if (!complete)
        return;
    for (auto& definition : read)
        definitions.push_back(std::move(definition));
}

void CDBQuestionnaire::LireRecodages(std::vector<std::unique_ptr<CQuestionEtendue>>& questions,
                                     std::vector<std::unique_ptr<CQuestionNiveau>>& levels) {
    if (!Open(true)) {
        m_errorText = GetErrorText();
        return;
    }
    RunShowingBox([&] { ReadRecodes(questions, levels); });
}

void CDBQuestionnaire::ReadRecodes(std::vector<std::unique_ptr<CQuestionEtendue>>& questions,
                                   const std::vector<std::unique_ptr<CQuestionNiveau>>& levels) {
    db::Database& database = GetDatabase();
    if (!CTblRecode::ExisteTable(database))
        return;
    CEnquete& survey = *GetEnquete();
    int version = survey.fileVersion;
    if (version == 0) {
        // Not recorded yet: the file says which layout its recodes have.
        CQuestionnaire properties;
        if (!LirePropriete(properties))
            throw db::DbException("read recodes", GetErrorText());
        version = properties.GetFileVersion();
    }
    CTblRecode table(database, version);
    table.Open();
    table.SetCurrentIndex("Index1");
    for (; !table.IsEOF(); table.MoveNext()) {
        std::unique_ptr<CRecodage> recode = CRecodage::CreerRecodage(table.m_Type, &survey);
        if (!recode)
            continue;
        recode->id = table.m_CodeRecodage;
        recode->label = table.m_Libelle;
        recode->sourceQuestionCode = table.m_CodeQuestion;
        recode->sourceRecodeCode = table.m_CodeRecodageQuestion;
        recode->SetSousType(table.m_SousType);
        recode->SetEstCumule(table.m_EstCumule);
        recode->SetRegroupement(table.m_Regroupement);
        recode->SetUnite(table.m_Unite);
        recode->SetEstMoins(table.m_EstMoins);
        recode->SetEstPlus(table.m_EstPlus);
        recode->SetEstEntier(table.m_EstEntier);
        recode->SetDateType(table.m_DateType);
        recode->SetNiveauDepart(LevelIndexOf(table.m_CodeNiveauDepart, levels));
        recode->SetNiveauArrivee(LevelIndexOf(table.m_CodeNiveauArrivee, levels));
        recode->Reinitialiser();
        InsererRecodage(*recode, questions, survey);
    }
}

// ---- Tables and fields -----------------------------------------------------------------------

bool CDBQuestionnaire::ExisteTable(const db::Database& database, std::string_view name) {
    return database.tableExists(name);
}

bool CDBQuestionnaire::ExisteChamp(const db::Database& database, std::string_view table, std::string_view field,
                                   db::FieldInfo* info) {
    try {
        const auto found = database.field(table, field);
        if (found && info != nullptr)
            *info = *found;
        return found.has_value();
    } catch (...) {
        return false;
    }
}

void CDBQuestionnaire::CreerChamp(db::Database& database, std::string_view table, std::string_view field,
                                  db::FieldType type, int size, bool autoNumber) {
    const db::FieldType created = autoNumber ? db::FieldType::AutoNumber : type;
    database.addField(table, {std::string(field), created, created == db::FieldType::Text ? size : 0});
}

bool CDBQuestionnaire::VerifierIsLevelLink(const std::string& path, std::string* reason) {
    const auto refuse = [reason](std::string text) {
        if (reason != nullptr)
            *reason = std::move(text);
        return false;
    };
    try {
        // Opening for writing refuses a missing, locked or foreign file without writing anything
        // to it. A file that cannot be written is read as it is: the field only spares later
        // versions a question, and nothing reads it.
        std::unique_ptr<db::Database> opened;
        try {
            opened = std::make_unique<db::Database>(path, db::Database::Access::ReadWrite);
        } catch (const db::DbException& error) {
            if (!error.isReadOnly())
                throw;
            opened = std::make_unique<db::Database>(path, db::Database::Access::ReadOnly);
        }
        db::Database& database = *opened;
        if (!ExisteTable(database, kQuestionnaireTable))
            return refuse("Le fichier « " + path + " » n'est pas un fichier de questionnaire.");
        if (database.isReadOnly() || ExisteChamp(database, kQuestionnaireTable, kLevelLinkField))
            return true;
        db::Transaction transaction(database);
        CreerChamp(database, kQuestionnaireTable, kLevelLinkField, db::FieldType::Boolean, 2, false);
        transaction.commit();
        return true;
    } catch (const db::DbException& error) {
        return refuse(error.cause());
    } catch (const std::exception& error) {
        return refuse(error.what());
    }
}
