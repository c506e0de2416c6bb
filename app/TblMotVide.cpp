#include "app/TblMotVide.h"

#include "platform/db/Database.h"

CTblMotVide::CTblMotVide(db::Database& database) : ProgramRecordset(database, Layout()) {}

const ProgramTableLayout& CTblMotVide::Layout() {
    using Field = ProgramField;
    static const ProgramTableLayout layout = [] {
        ProgramTableLayout table{"MotVide", {
            Field{"Libelle", db::FieldType::Text, 50, false, ProgramTable::Member(&CTblMotVide::m_Libelle)},
        }, {
            ProgramTable::PrimaryKey("Libelle"),
        }};
        return table;
    }();
    return layout;
}
