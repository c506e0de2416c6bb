#include "app/TblStyle.h"

#include "app/DBQuestionnaire.h"
#include "platform/db/Database.h"

CTblStyle::CTblStyle(db::Database& database) : ProgramRecordset(database, Layout()) {}

const ProgramTableLayout& CTblStyle::Layout() {
    using Field = ProgramField;
    static const ProgramTableLayout layout = [] {
        ProgramTableLayout table{"MFW Style", {
            Field{"CodeStyle", db::FieldType::Long, 4, true, ProgramTable::Member(&CTblStyle::m_CodeStyle)},
            Field{"Libelle", db::FieldType::Text, 50, false, ProgramTable::Member(&CTblStyle::m_Libelle)},
            Field{"Calculs", db::FieldType::Memo, 0, false, ProgramTable::Member(&CTblStyle::m_Calculs)},
        }, {
            ProgramTable::PrimaryKey("CodeStyle"),
            ProgramTable::SecondaryIndex("Index1", {"Libelle"}),
        }};
        return table;
    }();
    return layout;
}

bool CTblStyle::ExisteTable(const db::Database& database) {
    return CDBQuestionnaire::ExisteTable(database, Layout().name);
}

bool CTblStyle::CreerTable(db::Database& database, const CreationReport& report) {
    return ProgramTable::Create(database, Layout(), report);
}
