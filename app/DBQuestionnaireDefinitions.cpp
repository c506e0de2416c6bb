// The definition store of CDBQuestionnaire: listing, reading, saving and deleting the analyst's
// definitions in the program's tables, and the stop words of the library database.

#include "app/DBQuestionnaire.h"

#include <utility>

#include "app/ChampEtude.h"
#include "app/ContexteEtude.h"
#include "app/Enquete.h"
#include "app/IdName.h"
#include "app/Message.h"
#include "app/ProgramTable.h"
#include "app/QuestionCalculee.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/Recodage.h"
#include "app/Redressement.h"
#include "app/StringTable.h"
#include "app/TblCalcule.h"
#include "app/TblChamp.h"
#include "app/TblMotVide.h"
#include "app/TblProfil.h"
#include "app/TblProfilNumerique.h"
#include "app/TblRecode.h"
#include "app/TblRedressement.h"
#include "app/TblStyle.h"
#include "app/UserInterface.h"
#include "platform/db/Database.h"
#include "platform/db/DbException.h"
#include "platform/db/Recordset.h"
#include "platform/db/Transaction.h"
#include "platform/questionnaire/Questionnaire.h"
#include "platform/questionnaire/StaticTools.h"

namespace {

// The first entry of the profile and numeric lists.
constexpr const char* kAucun = "{Aucun}";
constexpr const char* kPrimaryKey = "PrimaryKey";
constexpr const char* kLabelIndex = "Index1";

// Seeks the key on "PrimaryKey": the record found is edited, else a new one is started. Answers
// whether a record is being added.
bool EditOrAdd(ProgramRecordset& table, const db::Value& key) {
    table.SetCurrentIndex(kPrimaryKey);
    if (table.Seek("=", {key})) {
        table.Edit();
        return false;
    }
    table.AddNew();
    return true;
}

bool SeekKey(ProgramRecordset& table, std::int32_t key) {
    table.SetCurrentIndex(kPrimaryKey);
    return table.Seek("=", {db::Value(key)});
}

// Hands every record of the table to `take`, in the order of the index (the table's own order
// without one).
template <class Table, class Take>
void WalkTable(db::Database& database, const char* index, Take take) {
    Table table(database);
    table.Open();
    if (index != nullptr)
        table.SetCurrentIndex(index);
    for (; !table.IsEOF(); table.MoveNext())
        take(table);
}

template <class T>
void AppendAll(std::vector<std::unique_ptr<T>>& read, std::vector<std::unique_ptr<T>>& out) {
    for (auto& entry : read)
        out.push_back(std::move(entry));
}

// ---- Study fields ----

void ReadStudyField(const CTblChamp& record, CChampEtude& field) {
    field.id = record.m_CodeChamp;
    field.name = record.m_Libelle;
    field.description = record.m_Description;
    field.complexConditionText = record.m_ConditionComplexe;
    field.complexCondition = !record.m_ConditionComplexe.empty();
    field.connectors = {record.m_Logique1, record.m_Logique2, record.m_Logique3};
    for (std::size_t n = 0; n < field.conditions.size(); ++n) {
        const CTblChamp::Condition& stored = record.m_Conditions[n];
        CChampCondition& condition = field.conditions[n];
        condition.SetQuestion(stored.m_CodeQuestion, stored.m_ClesQuestion, stored.m_CodeRegroupement);
        condition.kind = stored.m_TypeCondition;
        condition.LireListeModalites(stored.m_Modalites);
        condition.LireBornes(stored.m_Bornes);
    }
}

void WriteStudyField(const CChampEtude& field, CTblChamp& record) {
    record.m_Libelle = field.name;
    record.m_Description = field.description;
    record.m_ConditionComplexe = field.complexCondition ? field.complexConditionText : std::string();
    record.m_Logique1 = field.connectors[0];
    record.m_Logique2 = field.connectors[1];
    record.m_Logique3 = field.connectors[2];
    for (std::size_t n = 0; n < field.conditions.size(); ++n) {
        const CChampCondition& condition = field.conditions[n];
        CTblChamp::Condition& stored = record.m_Conditions[n];
        condition.DonnerReference(stored.m_CodeQuestion, stored.m_ClesQuestion, stored.m_CodeRegroupement);
        stored.m_TypeCondition = condition.kind;
        stored.m_Modalites = condition.DonnerListeModalites();
        stored.m_Bornes = condition.DonnerBornes();
    }
}

// ---- Weightings ----

void ReadWeighting(const CTblRedressement& record, CRedressement& weighting) {
    weighting.id = record.m_CodeRedressement;
    weighting.name = record.m_Libelle;
    weighting.description = record.m_Description;
    weighting.NTotal = record.m_NTotal;
    weighting.definition = record.m_Valeurs;
}

void WriteWeighting(const CRedressement& weighting, CTblRedressement& record) {
    record.m_Libelle = weighting.name;
    record.m_Description = weighting.description;
    record.m_NTotal = weighting.NTotal;
    record.m_Valeurs = weighting.definition;
}

// ---- Profile lists and numeric lists: the same record in two tables ----

template <class Table>
struct ListRecord;

template <>
struct ListRecord<CTblProfil> {
    static std::int32_t& Key(CTblProfil& t) { return t.m_NroListe; }
    static std::string& Active(CTblProfil& t) { return t.m_ModalitesActives; }
    static std::string& Illustrative(CTblProfil& t) { return t.m_ModalitesIllustratives; }
    static bool Create(db::Database& database, const CreationReport& report) {
        return CTblProfil::CreerTable(database, report);
    }
};

template <>
struct ListRecord<CTblProfilNumerique> {
    static std::int32_t& Key(CTblProfilNumerique& t) { return t.m_NroListe; }
    static std::string& Active(CTblProfilNumerique& t) { return t.m_QuestionsActives; }
    static std::string& Illustrative(CTblProfilNumerique& t) { return t.m_QuestionsIllustratives; }
    static bool Create(db::Database& database, const CreationReport& report) {
        return CTblProfilNumerique::CreerTable(database, report);
    }
};

template <class Table>
void ListLabels(db::Database& database, std::vector<std::unique_ptr<CIdName>>& read) {
    if (!database.tableExists(Table::Layout().name))
        return;
    WalkTable<Table>(database, kLabelIndex, [&](Table& record) {
        read.push_back(std::make_unique<CIdName>(ListRecord<Table>::Key(record), record.m_Libelle));
    });
}

template <class Table>
bool ReadListRecord(db::Database& database, std::int32_t key, std::string& label, std::string& active,
                    std::string& illustrative) {
    Table table(database);
    table.Open();
    if (!SeekKey(table, key))
        return false;
    label = table.m_Libelle;
    active = ListRecord<Table>::Active(table);
    illustrative = ListRecord<Table>::Illustrative(table);
    return true;
}

// Writes the texts into the record of the key, or a new one; answers the record's key.
template <class Table>
std::int32_t WriteListRecord(db::Database& database, std::int32_t key, bool withIllustrative,
                             const std::string& label, const std::string& active, const std::string& illustrative) {
    Table table(database);
    table.Open();
    const bool adding = EditOrAdd(table, db::Value(key));
    table.m_Libelle = label;
    ListRecord<Table>::Active(table) = active;
    if (withIllustrative)
        ListRecord<Table>::Illustrative(table) = illustrative;
    else if (adding)
        ListRecord<Table>::Illustrative(table).clear();
    table.Update();
    return adding ? ListRecord<Table>::Key(table) : key;
}

// ---- Recodes ----

std::int32_t LevelCodeAt(const CEnquete& survey, int index) {
    const CQuestionNiveau* level = survey.DonnerNiveau(index);
    return level != nullptr ? level->code : 0;
}

int LevelIndexOf(const CEnquete& survey, std::int32_t code) {
    for (int i = 0; i < survey.DonnerNbreNiveaux(); ++i) {
        const CQuestionNiveau* level = survey.DonnerNiveau(i);
        if (level != nullptr && level->code == code)
            return i;
    }
    return 0;
}

// ---- Computed variables ----

CQuestionCalculee::Reference SourceReference(const CQuestionEtendue* bound,
                                             const CQuestionCalculee::Reference& stored) {
    if (bound == nullptr)
        return stored;
    CQuestionCalculee::Reference reference;
    CEnquete::DonnerReferenceQuestion(bound, reference.code, reference.keys, reference.recodeCode);
    return reference;
}

void WriteVariable(const CQuestionCalculee& variable, CTblCalcule& record) {
    record.m_CodeVariable = variable.code;
    record.m_Libelle = variable.label;
    record.m_TypeVariable = variable.kind;
    record.m_NroTableReponse = static_cast<std::int16_t>(variable.responseTable);
    record.m_NbMaxReponse = static_cast<std::int16_t>(variable.maxAnswers);
    record.m_Expression = variable.DonnerDefinition();
    record.m_Themes = variable.themes;
    const bool superposition = variable.kind == CQuestionCalculee::kTypeSuperposition;
    record.m_EstCumule = superposition && variable.superposition != 0 ? 1 : 0;
    const auto first = SourceReference(variable.source1, variable.reference1);
    const auto second = SourceReference(variable.source2, variable.reference2);
    record.m_CodeQuestion1 = first.code;
    record.m_ClesQuestion1 = first.keys;
    record.m_CodeRegroupement1 = first.recodeCode;
    record.m_CodeQuestion2 = second.code;
    record.m_ClesQuestion2 = second.keys;
    record.m_CodeRegroupement2 = second.recodeCode;
}

// ---- Stop words ----

// Runs one job on the stop-word table of the library database at the study context's path. The
// database is closed on the way out; every failure gives false.
template <class Job>
bool RunOnStopWords(bool writing, Job job) {
    try {
        CContexteEtude* context = GetContexte();
        if (context == nullptr)
            return false;
        const std::string path = context->DonnerCheminBibliotheque();
        if (path.empty())
            return false;
        db::Database database(path, writing ? db::Database::Access::ReadWrite : db::Database::Access::ReadOnly);
        std::unique_ptr<db::Transaction> transaction;
        if (writing)
            transaction = std::make_unique<db::Transaction>(database);
        {
            CTblMotVide table(database);
            table.Open();
            table.SetCurrentIndex(kPrimaryKey);
            job(table);
        }
        if (transaction)
            transaction->commit();
        return true;
    } catch (...) {
        return false;
    }
}

bool SeekWord(CTblMotVide& table, const std::string& word) { return table.Seek("=", {db::Value(word)}); }

void AddWordIfAbsent(CTblMotVide& table, const std::string& word) {
    if (SeekWord(table, word))
        return;
    table.AddNew();
    table.m_Libelle = word;
    table.Update();
}

} // namespace

// ---- Opening ----------------------------------------------------------------------------------

bool CDBQuestionnaire::OpenForDefinitions(bool readOnly, bool showing) {
    if (Open(readOnly))
        return true;
    m_errorText = GetErrorText();
    if (showing && m_ui != nullptr)
        m_ui->ShowMessage(Message::Text(m_errorText), UserInterface::Icon::Error);
    return false;
}

int CDBQuestionnaire::DonnerVersionFichier() {
    const CEnquete* survey = GetEnquete();
    if (survey != nullptr && survey->fileVersion != 0)
        return survey->fileVersion;
    CQuestionnaire properties;
    if (!LirePropriete(properties))
        throw db::DbException("read the file version", GetErrorText());
    return properties.GetFileVersion();
}

bool CDBQuestionnaire::DeleteByKey(std::string_view operation, bool showing, const std::string& tableName,
                                   std::int32_t key) {
    if (!OpenForDefinitions(false, showing))
        return false;
    const auto job = [&] {
        db::Database& database = GetDatabase();
        db::Transaction transaction(database);
        {
            db::Recordset table(database, tableName);
            table.setCurrentIndex(kPrimaryKey);
            if (table.seek("=", {db::Value(key)}))
                table.deleteCurrent();
        }
        transaction.commit();
    };
    return showing ? RunShowingBox(job) : RunReportingText(operation, job);
}

bool CDBQuestionnaire::SaveDefinition(std::string_view operation, bool showing, std::int32_t& key,
                                      const std::function<bool(db::Database&, std::int32_t&)>& write) {
    if (!OpenForDefinitions(false, showing))
        return false;
    bool saved = false;
    std::int32_t written = key;
    const auto job = [&] {
        db::Database& database = GetDatabase();
        db::Transaction transaction(database);
        if (!write(database, written))
            return;
        transaction.commit();
        saved = true;
    };
    const bool done = showing ? RunShowingBox(job) : RunReportingText(operation, job);
    if (!done || !saved)
        return false;
    key = written;
    return true;
}

// ---- Study fields -----------------------------------------------------------------------------

bool CDBQuestionnaire::ReadSubPopulationList(std::vector<std::unique_ptr<CChampEtude>>& out) {
    auto all = std::make_unique<CChampEtude>();
    all->id = -1;
    all->name = StringTable::Text(StringTable::kToutesLesInterviews);
    out.push_back(std::move(all));
    if (!OpenForDefinitions(true, false))
        return false;
    std::vector<std::unique_ptr<CChampEtude>> read;
    const bool done = RunReportingText("ReadSubPopulationList", [&] {
        db::Database& database = GetDatabase();
        if (!database.tableExists(CTblChamp::Layout().name))
            return;
        WalkTable<CTblChamp>(database, nullptr, [&](const CTblChamp& record) {
            auto field = std::make_unique<CChampEtude>();
            ReadStudyField(record, *field);
            read.push_back(std::move(field));
        });
    });
    if (!done)
        return false;
    AppendAll(read, out);
    return true;
}

bool CDBQuestionnaire::SaveSubPopulation(CChampEtude& field) {
    return SaveDefinition("SaveSubPopulation", false, field.id, [&](db::Database& database, std::int32_t& key) {
        if (!CTblChamp::CreerTable(database, {nullptr, &m_errorText}))
            return false;
        CTblChamp table(database);
        table.Open();
        const bool adding = EditOrAdd(table, db::Value(key));
        WriteStudyField(field, table);
        table.Update();
        if (adding)
            key = table.m_CodeChamp;
        return true;
    });
}

bool CDBQuestionnaire::DeleteSubPopulation(std::int32_t key) {
    if (DeleteByKey("DeleteSubPopulation", false, CTblChamp::Layout().name, key))
        return true;
    // This one operation has always named itself without its class when the failure is not the
    // database's.
    const std::string withClass =
        StringTable::Format(Message(StringTable::kErreurInconnue, {"CDBQuestionnaire::DeleteSubPopulation"}));
    if (m_errorText == withClass)
        m_errorText = StringTable::Format(Message(StringTable::kErreurInconnue, {"DeleteSubPopulation"}));
    return false;
}

// ---- Weightings -------------------------------------------------------------------------------

bool CDBQuestionnaire::GetWeightingList(std::vector<std::unique_ptr<CRedressement>>& out) {
    auto none = std::make_unique<CRedressement>();
    none->id = -1;
    none->name = StringTable::Text(StringTable::kAucunRedressement);
    out.push_back(std::move(none));
    if (!OpenForDefinitions(true, false))
        return false;
    std::vector<std::unique_ptr<CRedressement>> read;
    const bool done = RunReportingText("GetWeightingList", [&] {
        db::Database& database = GetDatabase();
        if (!database.tableExists(CTblRedressement::Layout().name))
            return;
        WalkTable<CTblRedressement>(database, nullptr, [&](const CTblRedressement& record) {
            auto weighting = std::make_unique<CRedressement>();
            ReadWeighting(record, *weighting);
            read.push_back(std::move(weighting));
        });
    });
    if (!done)
        return false;
    AppendAll(read, out);
    return true;
}

bool CDBQuestionnaire::SaveWeighting(CRedressement& weighting) {
    // The text is rebuilt from the scheme's targets, and kept with the scheme as it is stored.
    if (const CEnquete* survey = GetEnquete())
        weighting.definition = weighting.EcrireValeurs(*survey, false);
    return SaveDefinition("SaveWeighting", false, weighting.id, [&](db::Database& database, std::int32_t& key) {
        if (!CTblRedressement::CreerTable(database, {nullptr, &m_errorText}))
            return false;
        CTblRedressement table(database);
        table.Open();
        const bool adding = EditOrAdd(table, db::Value(key));
        WriteWeighting(weighting, table);
        table.Update();
        if (adding)
            key = table.m_CodeRedressement;
        return true;
    });
}

bool CDBQuestionnaire::DeleteWeighting(std::int32_t key) {
    return DeleteByKey("DeleteWeighting", false, CTblRedressement::Layout().name, key);
}

// ---- Profile lists and numeric lists ----------------------------------------------------------

bool CDBQuestionnaire::GetProfileList(std::vector<std::unique_ptr<CIdName>>& out) {
    out.push_back(std::make_unique<CIdName>(-1, kAucun));
    if (!OpenForDefinitions(true, false))
        return false;
    std::vector<std::unique_ptr<CIdName>> read;
    if (!RunReportingText("GetProfileList", [&] { ListLabels<CTblProfil>(GetDatabase(), read); }))
        return false;
    AppendAll(read, out);
    return true;
}

bool CDBQuestionnaire::GetNumericProfileList(std::vector<std::unique_ptr<CIdName>>& out) {
    out.push_back(std::make_unique<CIdName>(-1, kAucun));
    if (!OpenForDefinitions(true, false))
        return false;
    std::vector<std::unique_ptr<CIdName>> read;
    if (!RunReportingText("GetNumericProfileList", [&] { ListLabels<CTblProfilNumerique>(GetDatabase(), read); }))
        return false;
    AppendAll(read, out);
    return true;
}

bool CDBQuestionnaire::DeleteProfile(std::int32_t key) {
    return DeleteByKey("DeleteProfile", false, CTblProfil::Layout().name, key);
}

bool CDBQuestionnaire::DeleteNumericProfile(std::int32_t key) {
    return DeleteByKey("DeleteNumericProfile", false, CTblProfilNumerique::Layout().name, key);
}

bool CDBQuestionnaire::ReadProfileTexts(std::int32_t key, ListPart part, ListTexts& out) {
    return ReadListTexts(part == ListPart::Active ? "ReadProfile" : "ReadAnalysisProfile", false, key, out);
}

bool CDBQuestionnaire::SaveProfileTexts(std::int32_t& key, ListPart part, const ListTexts& texts) {
    return SaveListTexts(part == ListPart::Active ? "SaveProfile" : "SaveAnalysisProfile", false, key, part, texts);
}

bool CDBQuestionnaire::ReadNumericProfileTexts(std::int32_t key, ListPart part, ListTexts& out) {
    return ReadListTexts(part == ListPart::Active ? "ReadNumericProfile" : "ReadAnalysisNumericProfile", true, key,
                         out);
}

bool CDBQuestionnaire::SaveNumericProfileTexts(std::int32_t& key, ListPart part, const ListTexts& texts) {
    return SaveListTexts(part == ListPart::Active ? "SaveNumericProfile" : "SaveAnalysisNumericProfile", true, key,
                         part, texts);
}

bool CDBQuestionnaire::ReadListTexts(std::string_view operation, bool numeric, std::int32_t key, ListTexts& out) {
    if (!OpenForDefinitions(true, false))
        return false;
    bool found = false;
    ListTexts read;
    const bool done = RunReportingText(operation, [&] {
        db::Database& database = GetDatabase();
        found = numeric ? ReadListRecord<CTblProfilNumerique>(database, key, read.label, read.active, read.illustrative)
                        : ReadListRecord<CTblProfil>(database, key, read.label, read.active, read.illustrative);
    });
    if (!done || !found)
        return false;
    out = std::move(read);
    return true;
}

bool CDBQuestionnaire::SaveListTexts(std::string_view operation, bool numeric, std::int32_t& key, ListPart part,
                                     const ListTexts& texts) {
    const bool withIllustrative = part == ListPart::Both;
    return SaveDefinition(operation, false, key, [&](db::Database& database, std::int32_t& written) {
        const CreationReport report{nullptr, &m_errorText};
        if (numeric) {
            if (!ListRecord<CTblProfilNumerique>::Create(database, report))
                return false;
            written = WriteListRecord<CTblProfilNumerique>(database, written, withIllustrative, texts.label,
                                                           texts.active, texts.illustrative);
        } else {
            if (!ListRecord<CTblProfil>::Create(database, report))
                return false;
            written = WriteListRecord<CTblProfil>(database, written, withIllustrative, texts.label, texts.active,
                                                  texts.illustrative);
        }
        return true;
    });
}

std::string CDBQuestionnaire::WriteQuestionList(const std::vector<const CQuestionEtendue*>& entries) {
    std::string text;
    for (const CQuestionEtendue* question : entries) {
        if (question == nullptr) {
            text += "0|";
            continue;
        }
        std::int32_t code = 0;
        std::string keys;
        std::int32_t recode = 0;
        CEnquete::DonnerReferenceQuestion(question, code, keys, recode);
        text += std::to_string(code) + "@" + keys + "@" + std::to_string(recode) + "|";
    }
    return text;
}

void CDBQuestionnaire::ReadQuestionList(const std::string& text, bool withSeparators,
                                        std::vector<CQuestionEtendue*>& entries) const {
    const CEnquete* survey = GetEnquete();
    std::vector<std::string> items;
    CStaticTools::LireChaineSeparateurString(text, '|', items);
    for (const std::string& item : items) {
        if (withSeparators && item == "0") {
            entries.push_back(nullptr);
            continue;
        }
        std::vector<std::string> parts;
        CStaticTools::LireChaineSeparateurString(item, '@', parts);
        if (parts.size() == 2)
            parts.insert(parts.begin() + 1, std::string());
        if (parts.size() != 3 || survey == nullptr)
            continue;
        CQuestionEtendue* question =
            survey->TrouverQuestion(CStaticTools::ToLong(parts[0]), parts[1], CStaticTools::ToLong(parts[2]));
        if (question != nullptr)
            entries.push_back(question);
    }
}

// ---- Recodes ----------------------------------------------------------------------------------

void CDBQuestionnaire::EcrireChampsRecodage(const CRecodage& recode, const std::string& grouping,
                                            const CEnquete& survey, CTblRecode& record) {
    record.m_Libelle = recode.label;
    record.m_CodeQuestion = recode.sourceQuestionCode;
    record.m_CodeRecodageQuestion = recode.sourceRecodeCode;
    record.m_Type = recode.GetType();
    record.m_SousType = recode.GetSousType();
    record.m_EstCumule = recode.GetEstCumule();
    record.m_Regroupement = grouping;
    record.m_Unite = recode.GetUnite();
    record.m_EstMoins = recode.GetEstMoins();
    record.m_EstPlus = recode.GetEstPlus();
    record.m_EstEntier = recode.GetEstEntier();
    record.m_DateType = recode.GetDateType();
    record.m_CodeNiveauDepart = LevelCodeAt(survey, recode.GetNiveauDepart());
    record.m_CodeNiveauArrivee = LevelCodeAt(survey, recode.GetNiveauArrivee());
}

void CDBQuestionnaire::LireChampsRecodage(const CTblRecode& record, const CEnquete& survey,
                                          const CQuestionEtendue* question, CRecodage& recode) {
    recode.id = record.m_CodeRecodage;
    recode.label = record.m_Libelle;
    recode.sourceQuestionCode = record.m_CodeQuestion;
    recode.sourceRecodeCode = record.m_CodeRecodageQuestion;
    recode.SetSousType(record.m_SousType);
    recode.SetEstCumule(record.m_EstCumule);
    if (question != nullptr)
        recode.SetRegroupement(*question, record.m_Regroupement);
    else
        recode.SetRegroupement(record.m_Regroupement);
    recode.SetUnite(record.m_Unite);
    recode.SetEstMoins(record.m_EstMoins);
    recode.SetEstPlus(record.m_EstPlus);
    recode.SetEstEntier(record.m_EstEntier);
    recode.SetDateType(record.m_DateType);
    recode.SetNiveauDepart(LevelIndexOf(survey, record.m_CodeNiveauDepart));
    recode.SetNiveauArrivee(LevelIndexOf(survey, record.m_CodeNiveauArrivee));
    recode.Reinitialiser();
}

bool CDBQuestionnaire::SauverRecodage(CRecodage& recode) {
    const CEnquete* survey = GetEnquete();
    return SaveDefinition("SauverRecodage", false, recode.id, [&](db::Database& database, std::int32_t& key) {
        const int version = DonnerVersionFichier();
        // Goes on whatever the creator answers: a table that cannot be made fails below.
        CTblRecode::CreerTable(database, {nullptr, &m_errorText});
        CTblRecode table(database, version);
        table.Open();
        const bool adding = EditOrAdd(table, db::Value(key));
        EcrireChampsRecodage(recode, recode.GetRegroupement(), *survey, table);
        table.Update();
        if (adding)
            key = table.m_CodeRecodage;
        return true;
    });
}

bool CDBQuestionnaire::SupprimerRecodage(const CRecodage& recode) {
    return DeleteByKey("SupprimerRecodage", true, CTblRecode::Layout().name, recode.id);
}

// ---- Computed variables -----------------------------------------------------------------------

bool CDBQuestionnaire::SauverVariable(const CQuestionCalculee& variable) {
    // The key is the variable's own code: it never changes.
    std::int32_t code = variable.code;
    return SaveDefinition("SauverVariable", true, code, [&](db::Database& database, std::int32_t& key) {
        if (!CTblCalcule::CreerTable(database, {m_ui, &m_errorText}))
            return false;
        CTblCalcule table(database);
        table.Open();
        EditOrAdd(table, db::Value(key));
        WriteVariable(variable, table);
        table.Update();
        return true;
    });
}

bool CDBQuestionnaire::SupprimerVariable(const CQuestionCalculee& variable) {
    return DeleteByKey("SupprimerVariable", true, CTblCalcule::Layout().name, variable.code);
}

// ---- Styles -----------------------------------------------------------------------------------

bool CDBQuestionnaire::GetStyleList(std::vector<std::unique_ptr<CIdName>>& out) {
    if (!OpenForDefinitions(true, true))
        return false;
    std::vector<std::unique_ptr<CIdName>> read;
    const bool done = RunShowingBox([&] {
        db::Database& database = GetDatabase();
        if (!CTblStyle::ExisteTable(database))
            return;
        WalkTable<CTblStyle>(database, kLabelIndex, [&](const CTblStyle& record) {
            read.push_back(std::make_unique<CIdName>(record.m_CodeStyle, record.m_Libelle));
        });
    });
    if (!done)
        return false;
    AppendAll(read, out);
    return true;
}

bool CDBQuestionnaire::ReadStyleTexts(std::int32_t key, std::string& name, std::string& calculations) {
    if (!OpenForDefinitions(true, true))
        return false;
    bool found = false;
    const bool done = RunShowingBox([&] {
        CTblStyle table(GetDatabase());
        table.Open();
        found = SeekKey(table, key);
        if (!found)
            return;
        name = table.m_Libelle;
        calculations = table.m_Calculs;
    });
    return done && found;
}

bool CDBQuestionnaire::SaveStyleTexts(std::int32_t& key, const std::string& name, const std::string& calculations) {
    return SaveDefinition("SaveStyleTexts", true, key, [&](db::Database& database, std::int32_t& written) {
        if (!CTblStyle::CreerTable(database, {m_ui, &m_errorText}))
            return false;
        CTblStyle table(database);
        table.Open();
        const bool adding = EditOrAdd(table, db::Value(written));
        table.m_Libelle = name;
        table.m_Calculs = calculations;
        table.Update();
        if (adding)
            written = table.m_CodeStyle;
        return true;
    });
}

bool CDBQuestionnaire::DeleteStyle(std::int32_t key) {
    return DeleteByKey("DeleteStyle", true, CTblStyle::Layout().name, key);
}

// ---- Stop words -------------------------------------------------------------------------------

bool CDBQuestionnaire::AjouterMotVide(const std::string& word) {
    return RunOnStopWords(true, [&](CTblMotVide& table) { AddWordIfAbsent(table, word); });
}

bool CDBQuestionnaire::LireMotsVides(std::vector<std::string>& words) {
    words.clear();
    std::vector<std::string> read;
    const bool done = RunOnStopWords(false, [&](CTblMotVide& table) {
        for (; !table.IsEOF(); table.MoveNext())
            read.push_back(table.m_Libelle);
    });
    if (done)
        words = std::move(read);
    return done;
}

bool CDBQuestionnaire::SauverMotsVides(const std::vector<std::string>& added, const std::vector<std::string>& removed) {
    return RunOnStopWords(true, [&](CTblMotVide& table) {
        for (const std::string& word : removed) {
            if (SeekWord(table, word))
                table.Delete();
        }
        for (const std::string& word : added)
            AddWordIfAbsent(table, word);
    });
}
