#include "app/TblCalcule.h"

#include "app/DBQuestionnaire.h"
#include "platform/db/Database.h"

CTblCalcule::CTblCalcule(db::Database& database) : ProgramRecordset(database, Layout()) {}

const ProgramTableLayout& CTblCalcule::Layout() {
    using Field = ProgramField;
    constexpr auto optional = ProgramField::Presence::Optional;
    static const ProgramTableLayout layout = [] {
        ProgramTableLayout table{"MFW Variable", {
            Field{"CodeVariable", db::FieldType::Long, 4, false, ProgramTable::Member(&CTblCalcule::m_CodeVariable)},
            Field{"Libelle", db::FieldType::Text, 50, false, ProgramTable::Member(&CTblCalcule::m_Libelle)},
            Field{"TypeVariable", db::FieldType::Integer, 2, false, ProgramTable::Member(&CTblCalcule::m_TypeVariable)},
            Field{"CodeQuestion1", db::FieldType::Long, 4, false, ProgramTable::Member(&CTblCalcule::m_CodeQuestion1)},
            Field{"ClesQuestion1", db::FieldType::Text, 50, false, ProgramTable::Member(&CTblCalcule::m_ClesQuestion1)},
            Field{"CodeRegroupement1", db::FieldType::Long, 4, false, ProgramTable::Member(&CTblCalcule::m_CodeRegroupement1)},
            Field{"CodeQuestion2", db::FieldType::Long, 4, false, ProgramTable::Member(&CTblCalcule::m_CodeQuestion2)},
            Field{"ClesQuestion2", db::FieldType::Text, 50, false, ProgramTable::Member(&CTblCalcule::m_ClesQuestion2)},
            Field{"CodeRegroupement2", db::FieldType::Long, 4, false, ProgramTable::Member(&CTblCalcule::m_CodeRegroupement2)},
            Field{"Themes", db::FieldType::Memo, 0, false, ProgramTable::Member(&CTblCalcule::m_Themes)},
            Field{"Expression", db::FieldType::Memo, 0, false, ProgramTable::Member(&CTblCalcule::m_Expression)},
            Field{"NroTableReponse", db::FieldType::Integer, 2, false, ProgramTable::Member(&CTblCalcule::m_NroTableReponse)},
            Field{"NbMaxReponse", db::FieldType::Integer, 2, false, ProgramTable::Member(&CTblCalcule::m_NbMaxReponse)},
            Field{"EstCumule", db::FieldType::Boolean, 1, false, ProgramTable::Member(&CTblCalcule::m_EstCumule), optional},
        }, {
            ProgramTable::PrimaryKey("CodeVariable"),
        }};
        return table;
    }();
    return layout;
}

bool CTblCalcule::ExisteTable(const db::Database& database) {
    return CDBQuestionnaire::ExisteTable(database, Layout().name);
}

bool CTblCalcule::CreerTable(db::Database& database, const CreationReport& report) {
    return ProgramTable::Create(database, Layout(), report);
}
