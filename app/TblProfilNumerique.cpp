#include "app/TblProfilNumerique.h"

#include "app/DBQuestionnaire.h"
#include "platform/db/Database.h"

CTblProfilNumerique::CTblProfilNumerique(db::Database& database) : ProgramRecordset(database, Layout()) {}

const ProgramTableLayout& CTblProfilNumerique::Layout() {
    using Field = ProgramField;
    static const ProgramTableLayout layout = [] {
        ProgramTableLayout table{"MFW ListeNumerique", {
            Field{"NroListe", db::FieldType::Long, 4, true, ProgramTable::Member(&CTblProfilNumerique::m_NroListe)},
            Field{"Libelle", db::FieldType::Text, 50, false, ProgramTable::Member(&CTblProfilNumerique::m_Libelle)},
            Field{"QuestionsActives", db::FieldType::Memo, 0, false, ProgramTable::Member(&CTblProfilNumerique::m_QuestionsActives)},
            Field{"QuestionsIllustratives", db::FieldType::Memo, 0, false, ProgramTable::Member(&CTblProfilNumerique::m_QuestionsIllustratives)},
        }, {
            ProgramTable::PrimaryKey("NroListe"),
            ProgramTable::SecondaryIndex("Index1", {"Libelle"}),
        }};
        return table;
    }();
    return layout;
}

bool CTblProfilNumerique::ExisteTable(const db::Database& database) {
    return CDBQuestionnaire::ExisteTable(database, Layout().name);
}

bool CTblProfilNumerique::CreerTable(db::Database& database, const CreationReport& report) {
    return ProgramTable::Create(database, Layout(), report);
}
