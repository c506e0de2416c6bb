#include "app/TblRecode.h"

#include "app/DBQuestionnaire.h"
#include "platform/questionnaire/DBStructure.h"
#include "platform/db/Database.h"

CTblRecode::CTblRecode(db::Database& database, int fileVersion)
    : ProgramRecordset(database, Layout(), fileVersion), m_fileVersion(fileVersion) {}

const ProgramTableLayout& CTblRecode::Layout() {
    using Field = ProgramField;
    constexpr auto optional = ProgramField::Presence::Optional;
    static const ProgramTableLayout layout = [] {
        ProgramTableLayout table{"MFW Recode", {
            Field{"CodeRecodage", db::FieldType::Long, 4, true, ProgramTable::Member(&CTblRecode::m_CodeRecodage)},
            Field{"CodeQuestion", db::FieldType::Long, 4, false, ProgramTable::Member(&CTblRecode::m_CodeQuestion)},
            Field{"CodeRecodageQuestion", db::FieldType::Long, 4, false, ProgramTable::Member(&CTblRecode::m_CodeRecodageQuestion)},
            Field{"Type", db::FieldType::Integer, 2, false, ProgramTable::Member(&CTblRecode::m_Type)},
            Field{"SousType", db::FieldType::Integer, 2, false, ProgramTable::Member(&CTblRecode::m_SousType)},
            Field{"Libelle", db::FieldType::Text, 50, false, ProgramTable::Member(&CTblRecode::m_Libelle)},
            Field{"Regroupement", db::FieldType::Memo, 0, false, ProgramTable::Member(&CTblRecode::m_Regroupement)},
            Field{"EstCumule", db::FieldType::Boolean, 1, false, ProgramTable::Member(&CTblRecode::m_EstCumule)},
            Field{"CodeNiveauDepart", db::FieldType::Long, 4, false, ProgramTable::Member(&CTblRecode::m_CodeNiveauDepart)},
            Field{"CodeNiveauArrivee", db::FieldType::Long, 4, false, ProgramTable::Member(&CTblRecode::m_CodeNiveauArrivee)},
            Field{"Unite", db::FieldType::Text, 50, false, ProgramTable::Member(&CTblRecode::m_Unite)},
            Field{"EstMoins", db::FieldType::Boolean, 1, false, ProgramTable::Member(&CTblRecode::m_EstMoins)},
            Field{"EstPlus", db::FieldType::Boolean, 1, false, ProgramTable::Member(&CTblRecode::m_EstPlus)},
            Field{"EstEntier", db::FieldType::Boolean, 1, false, ProgramTable::Member(&CTblRecode::m_EstEntier)},
            Field{"DateType", db::FieldType::Integer, 2, false, ProgramTable::Member(&CTblRecode::m_DateType), optional, kFirstVersionWithDateType, -1.0},
        }, {
            ProgramTable::PrimaryKey("CodeRecodage"),
            ProgramTable::SecondaryIndex("Index1", {"CodeQuestion", "CodeRecodageQuestion"}),
            ProgramTable::SecondaryIndex("Libelle", {"Libelle"}),
        }};
        return table;
    }();
    return layout;
}

bool CTblRecode::ExisteTable(const db::Database& database) {
    return CDBQuestionnaire::ExisteTable(database, Layout().name);
}

bool CTblRecode::CreerTable(db::Database& database, const CreationReport& report) {
    return ProgramTable::RunCreation(database, report, [&] {
        if (ExisteTable(database)) {
            // Only a missing DateType is added: a DateType of another type keeps its data (it reads
            // leniently) rather than being dropped and created again.
            CDBStructure::VerifyCreateField(false, database, Layout().name, "DateType", db::FieldType::Integer, 2);
        } else {
            database.createTable(Layout().Definition());
        }
    });
}
