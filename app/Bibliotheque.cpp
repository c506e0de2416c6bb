#include "app/Bibliotheque.h"

#include <utility>

#include "app/ContexteEtude.h"
#include "app/DBQuestionnaire.h"
#include "app/IdName.h"
#include "app/Message.h"
#include "app/ProgramTable.h"
#include "app/Recodage.h"
#include "app/Redressement.h"
#include "app/StringTable.h"
#include "app/TblRecode.h"
#include "app/TblRedressement.h"
#include "app/TblStyle.h"
#include "app/UserInterface.h"
#include "platform/db/Database.h"
#include "platform/db/DbException.h"
#include "platform/db/Transaction.h"
#include "platform/questionnaire/DBStructure.h"

namespace {

constexpr const char* kPrimaryKey = "PrimaryKey";

// The recode layout of the newest questionnaire files: the library is written as they are.
int NewestFileVersion() {
    int major = 0;
    int minor = 0;
    CDBStructure::GetNewestFileVersion(major, minor);
    return major * 100 + minor;
}

// Appends (key, label) for every record of the table in the order of the index.
template <class Table, class Key>
void ListLabels(Table& table, const char* index, Key key, std::vector<std::unique_ptr<CIdName>>& read) {
    table.Open();
    table.SetCurrentIndex(index);
    for (; !table.IsEOF(); table.MoveNext())
        read.push_back(std::make_unique<CIdName>(key(table), table.m_Libelle));
}

bool SeekLabel(ProgramRecordset& table, const char* index, const std::string& label) {
    table.SetCurrentIndex(index);
    return table.Seek("=", {db::Value(label)});
}

void AppendAll(std::vector<std::unique_ptr<CIdName>>& read, std::vector<std::unique_ptr<CIdName>>& out) {
    for (auto& entry : read)
        out.push_back(std::move(entry));
}

} // namespace

CBibliotheque::CBibliotheque(CContexteEtude& context) : m_context(context) {}

CBibliotheque::~CBibliotheque() = default;

bool CBibliotheque::Open() {
    Close();
    const std::string path = m_context.DonnerCheminBibliotheque();
    if (path.empty())
        return false;
    try {
        m_database = std::make_unique<db::Database>(path, db::Database::Access::ReadWrite);
        return true;
    } catch (const db::DbException& error) {
        m_errorText = error.cause();
    } catch (const std::exception& error) {
        m_errorText = error.what();
    }
    return false;
}

void CBibliotheque::Close() { m_database.reset(); }

template <class Job>
bool CBibliotheque::Run(Job&& job) {
    if (!m_database) {
        m_errorText = "the library database is not open";
        return false;
    }
    try {
        return job(*m_database);
    } catch (const db::DbException& error) {
        m_errorText = error.cause();
    } catch (const std::exception& error) {
        m_errorText = error.what();
    }
    return false;
}

bool CBibliotheque::MayOverwrite(int questionId) {
    return m_context.GetUserInterface().AskYesNo(Message(questionId));
}

// ---- Weightings -------------------------------------------------------------------------------

bool CBibliotheque::GetWeightingList(std::vector<std::unique_ptr<CIdName>>& out) {
    std::vector<std::unique_ptr<CIdName>> read;
    const bool done = Run([&](db::Database& database) {
        if (!CTblRedressement::CreerTable(database, {&m_context.GetUserInterface(), &m_errorText}))
            return false;
        CTblRedressement table(database);
        ListLabels(table, "Libelle", [](CTblRedressement& t) { return t.m_CodeRedressement; }, read);
        return true;
    });
    if (done)
        AppendAll(read, out);
    return done;
}

bool CBibliotheque::ReadWeighting(std::int32_t code, CRedressement& out) {
    return Run([&](db::Database& database) {
        if (!CTblRedressement::CreerTable(database, {&m_context.GetUserInterface(), &m_errorText}))
            return false;
        CTblRedressement table(database);
        table.Open();
        table.SetCurrentIndex(kPrimaryKey);
        if (!table.Seek("=", {db::Value(code)}))
            return false;
        out.name = table.m_Libelle;
        out.description = table.m_Description;
        out.definition = table.m_Valeurs;
        return true;
    });
}

bool CBibliotheque::SaveWeighting(const CRedressement& weighting) {
    return Run([&](db::Database& database) {
        // Asked before the write begins, so that the library is not held while the user thinks.
        if (database.tableExists(CTblRedressement::Layout().name)) {
            CTblRedressement table(database);
            table.Open();
            if (SeekLabel(table, "Libelle", weighting.name) && !MayOverwrite(StringTable::kEcraserRedressement))
                return false;
        }
        db::Transaction transaction(database);
        if (!CTblRedressement::CreerTable(database, {&m_context.GetUserInterface(), &m_errorText}))
            return false;
        {
            CTblRedressement table(database);
            table.Open();
            if (SeekLabel(table, "Libelle", weighting.name)) {
                table.Edit();
            } else {
                table.AddNew();
                table.m_NTotal = 0.0;
            }
            table.m_Libelle = weighting.name;
            table.m_Description = weighting.description;
            table.m_Valeurs = weighting.EcrireValeurs(m_context, true);
            table.Update();
        }
        transaction.commit();
        return true;
    });
}

// ---- Recodes ----------------------------------------------------------------------------------

bool CBibliotheque::GetRecodeList(std::vector<std::unique_ptr<CIdName>>& out) {
    std::vector<std::unique_ptr<CIdName>> read;
    const bool done = Run([&](db::Database& database) {
        if (!CTblRecode::CreerTable(database, {&m_context.GetUserInterface(), &m_errorText}))
            return false;
        CTblRecode table(database, NewestFileVersion());
        ListLabels(table, "Index1", [](CTblRecode& t) { return t.m_CodeRecodage; }, read);
        return true;
    });
    if (done)
        AppendAll(read, out);
    return done;
}

std::unique_ptr<CRecodage> CBibliotheque::ReadRecode(std::int32_t code, const CQuestionEtendue* question) {
    std::unique_ptr<CRecodage> recode;
    Run([&](db::Database& database) {
        if (!CTblRecode::ExisteTable(database))
            return false;
        CTblRecode table(database, NewestFileVersion());
        table.Open();
        table.SetCurrentIndex(kPrimaryKey);
        if (!table.Seek("=", {db::Value(code)}))
            return false;
        recode = CRecodage::CreerRecodage(table.m_Type, &m_context);
        if (!recode)
            return false;
        CDBQuestionnaire::LireChampsRecodage(table, m_context, question, *recode);
        recode->id = 0;
        return true;
    });
    return recode;
}

bool CBibliotheque::SaveRecode(const CRecodage& recode, const CQuestionEtendue& source) {
    return Run([&](db::Database& database) {
        const int version = NewestFileVersion();
        if (CTblRecode::ExisteTable(database)) {
            CTblRecode table(database, version);
            table.Open();
            if (SeekLabel(table, "Libelle", recode.label) && !MayOverwrite(StringTable::kEcraserRecodage))
                return false;
        }
        db::Transaction transaction(database);
        if (!CTblRecode::CreerTable(database, {&m_context.GetUserInterface(), &m_errorText}))
            return false;
        {
            CTblRecode table(database, version);
            table.Open();
            if (SeekLabel(table, "Libelle", recode.label))
                table.Edit();
            else
                table.AddNew();
            CDBQuestionnaire::EcrireChampsRecodage(recode, recode.GetRegroupement(source), m_context, table);
            table.Update();
        }
        transaction.commit();
        return true;
    });
}

// ---- Styles -----------------------------------------------------------------------------------

bool CBibliotheque::GetStyleList(std::vector<std::unique_ptr<CIdName>>& out) {
    std::vector<std::unique_ptr<CIdName>> read;
    const bool done = Run([&](db::Database& database) {
        if (!CTblStyle::CreerTable(database, {&m_context.GetUserInterface(), &m_errorText}))
            return false;
        CTblStyle table(database);
        ListLabels(table, "Index1", [](CTblStyle& t) { return t.m_CodeStyle; }, read);
        return true;
    });
    if (done)
        AppendAll(read, out);
    return done;
}

bool CBibliotheque::ReadStyleTexts(std::int32_t code, std::string& name, std::string& calculations) {
    return Run([&](db::Database& database) {
        if (!CTblStyle::ExisteTable(database))
            return false;
        CTblStyle table(database);
        table.Open();
        table.SetCurrentIndex(kPrimaryKey);
        if (!table.Seek("=", {db::Value(code)}))
            return false;
        name = table.m_Libelle;
        calculations = table.m_Calculs;
        return true;
    });
}

bool CBibliotheque::SaveStyleTexts(const std::string& name, const std::string& calculations) {
    return Run([&](db::Database& database) {
        db::Transaction transaction(database);
        if (!CTblStyle::CreerTable(database, {&m_context.GetUserInterface(), &m_errorText}))
            return false;
        {
            CTblStyle table(database);
            table.Open();
            if (SeekLabel(table, "Index1", name))
                table.Edit();
            else
                table.AddNew();
            table.m_Libelle = name;
            table.m_Calculs = calculations;
            table.Update();
        }
        transaction.commit();
        return true;
    });
}
