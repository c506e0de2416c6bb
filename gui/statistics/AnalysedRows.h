#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class CContexteEtude;

// The rows and columns of the data table an analysis ran on: the interview of each row and the
// label of each column, kept after the table's cells went to the engine, so that the result
// tables and maps can name their interviews and columns.
class AnalysedRows {
public:
    // Takes the interviews and column labels of a data table (numeric or disjunctive).
    template <class Table> void Prendre(Table& table) {
        m_interviews = std::move(table.interviews);
        m_columnLabels = std::move(table.libellesColonnes);
    }
    void Vider();

    const std::vector<std::int32_t>& Interviews() const { return m_interviews; }
    // The label of row `index`'s interview; empty outside the table or without a study.
    std::string LibelleLigne(CContexteEtude* context, std::int32_t index) const;
    // The label of column `index`; empty outside the table.
    std::string LibelleColonne(std::int32_t index) const;

private:
    std::vector<std::int32_t> m_interviews;
    std::vector<std::string> m_columnLabels;
};
