#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/ProgramRecordset.h"

// The recordset of "MFW ChampEtude", the study fields.
class CTblChamp : public ProgramRecordset {
public:
    explicit CTblChamp(db::Database& database);

    static const ProgramTableLayout& Layout();
    // Creates the table when missing (see ProgramTable::Create).
    static bool CreerTable(db::Database& database, const CreationReport& report = {});

    std::int32_t m_CodeChamp = 0;
    std::string m_Libelle;
    std::int16_t m_Logique1 = 0;
    std::int16_t m_Logique2 = 0;
    std::int16_t m_Logique3 = 0;
    std::string m_Description;
    std::string m_ConditionComplexe;

    // One condition: fields CodeQuestion<n> ... Bornes<n> for n = 1 .. 4.
    struct Condition {
        std::int32_t m_CodeQuestion = 0;
        std::string m_ClesQuestion;
        std::int32_t m_CodeRegroupement = 0;
        std::int16_t m_TypeCondition = 0;
        std::string m_Modalites;
        std::string m_Bornes;
    };
    static constexpr int kConditionCount = 4;
    std::array<Condition, kConditionCount> m_Conditions{};
};
