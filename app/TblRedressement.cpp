#include "app/TblRedressement.h"

#include "platform/db/Database.h"

CTblRedressement::CTblRedressement(db::Database& database) : ProgramRecordset(database, Layout()) {}

const ProgramTableLayout& CTblRedressement::Layout() {
    using Field = ProgramField;
    static const ProgramTableLayout layout = [] {
        ProgramTableLayout table{"MFW Redressement", {
            Field{"CodeRedressement", db::FieldType::Long, 4, true, ProgramTable::Member(&CTblRedressement::m_CodeRedressement)},
            Field{"Libelle", db::FieldType::Text, 50, false, ProgramTable::Member(&CTblRedressement::m_Libelle)},
            Field{"Description", db::FieldType::Text, 255, false, ProgramTable::Member(&CTblRedressement::m_Description)},
            Field{"Valeurs", db::FieldType::Memo, 0, false, ProgramTable::Member(&CTblRedressement::m_Valeurs)},
            Field{"NTotal", db::FieldType::Double, 8, false, ProgramTable::Member(&CTblRedressement::m_NTotal)},
        }, {
            ProgramTable::PrimaryKey("CodeRedressement"),
            ProgramTable::SecondaryIndex("Libelle", {"Libelle"}),
        }};
        return table;
    }();
    return layout;
}

bool CTblRedressement::CreerTable(db::Database& database, const CreationReport& report) {
    return ProgramTable::Create(database, Layout(), report);
}
