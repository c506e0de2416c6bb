#include "app/TblProfil.h"

#include "platform/db/Database.h"

CTblProfil::CTblProfil(db::Database& database) : ProgramRecordset(database, Layout()) {}

const ProgramTableLayout& CTblProfil::Layout() {
    using Field = ProgramField;
    static const ProgramTableLayout layout = [] {
        ProgramTableLayout table{"MFW ListeVariable", {
            Field{"NroListe", db::FieldType::Long, 4, true, ProgramTable::Member(&CTblProfil::m_NroListe)},
            Field{"Libelle", db::FieldType::Text, 50, false, ProgramTable::Member(&CTblProfil::m_Libelle)},
            Field{"ModalitesActives", db::FieldType::Memo, 0, false, ProgramTable::Member(&CTblProfil::m_ModalitesActives)},
            Field{"ModalitesIllustratives", db::FieldType::Memo, 0, false, ProgramTable::Member(&CTblProfil::m_ModalitesIllustratives)},
        }, {
            ProgramTable::PrimaryKey("NroListe"),
            ProgramTable::SecondaryIndex("Index1", {"Libelle"}),
        }};
        return table;
    }();
    return layout;
}

bool CTblProfil::CreerTable(db::Database& database, const CreationReport& report) {
    return ProgramTable::Create(database, Layout(), report);
}
