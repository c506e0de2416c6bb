#include "app/TblChamp.h"

#include "platform/db/Database.h"

CTblChamp::CTblChamp(db::Database& database) : ProgramRecordset(database, Layout()) {}

namespace {
// The four condition groups follow the seven first fields, each named with its number.
void AppendConditionFields(ProgramTableLayout& table) {
    struct Stem {
        const char* name;
        db::FieldType type;
        int size;
        ProgramMember (*member)(CTblChamp::Condition&);
    };
    static constexpr Stem stems[] = {
        {"CodeQuestion", db::FieldType::Long, 4, [](CTblChamp::Condition& c) -> ProgramMember { return &c.m_CodeQuestion; }},
        {"ClesQuestion", db::FieldType::Text, 50, [](CTblChamp::Condition& c) -> ProgramMember { return &c.m_ClesQuestion; }},
        {"CodeRegroupement", db::FieldType::Long, 4, [](CTblChamp::Condition& c) -> ProgramMember { return &c.m_CodeRegroupement; }},
        {"TypeCondition", db::FieldType::Integer, 2, [](CTblChamp::Condition& c) -> ProgramMember { return &c.m_TypeCondition; }},
        {"Modalites", db::FieldType::Text, 255, [](CTblChamp::Condition& c) -> ProgramMember { return &c.m_Modalites; }},
        {"Bornes", db::FieldType::Text, 255, [](CTblChamp::Condition& c) -> ProgramMember { return &c.m_Bornes; }},
    };
    for (int n = 1; n <= CTblChamp::kConditionCount; ++n) {
        for (const Stem& stem : stems) {
            const auto index = static_cast<std::size_t>(n - 1);
            auto access = [member = stem.member, index](ProgramRecordset& recordset) {
                return member(static_cast<CTblChamp&>(recordset).m_Conditions[index]);
            };
            table.fields.push_back(ProgramField{stem.name + std::to_string(n), stem.type, stem.size, false, access});
        }
    }
}

} // namespace

const ProgramTableLayout& CTblChamp::Layout() {
    using Field = ProgramField;
    static const ProgramTableLayout layout = [] {
        ProgramTableLayout table{"MFW ChampEtude", {
            Field{"CodeChamp", db::FieldType::Long, 4, true, ProgramTable::Member(&CTblChamp::m_CodeChamp)},
            Field{"Libelle", db::FieldType::Text, 50, false, ProgramTable::Member(&CTblChamp::m_Libelle)},
            Field{"Logique1", db::FieldType::Integer, 2, false, ProgramTable::Member(&CTblChamp::m_Logique1)},
            Field{"Logique2", db::FieldType::Integer, 2, false, ProgramTable::Member(&CTblChamp::m_Logique2)},
            Field{"Logique3", db::FieldType::Integer, 2, false, ProgramTable::Member(&CTblChamp::m_Logique3)},
            Field{"Description", db::FieldType::Text, 255, false, ProgramTable::Member(&CTblChamp::m_Description)},
            Field{"ConditionComplexe", db::FieldType::Memo, 0, false, ProgramTable::Member(&CTblChamp::m_ConditionComplexe)},
        }, {
            ProgramTable::PrimaryKey("CodeChamp"),
            ProgramTable::SecondaryIndex("Libelle", {"Libelle"}),
        }};
        AppendConditionFields(table);
        return table;
    }();
    return layout;
}

bool CTblChamp::CreerTable(db::Database& database, const CreationReport& report) {
    return ProgramTable::Create(database, Layout(), report);
}
