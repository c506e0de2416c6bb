#include "app/QuestionNiveau.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "app/DataAccess.h"
#include "app/Enquete.h"
#include "app/MatriceCodes.h"
#include "app/VecteurDouble.h"

namespace {

// How an ancestor record's key stands against a record's key, compared over the ancestor key's
// length: the ancestor key is before the record, matches it (is its prefix), or is after it.
enum class Placement { Before, Matches, After };

Placement PlaceAncestor(const std::int32_t* ancestor, int ancestorLength, const std::int32_t* record,
                        int recordLength) {
    const int length = std::min(ancestorLength, recordLength);
    for (int i = 0; i < length; ++i) {
        if (ancestor[i] < record[i])
            return Placement::Before;
        if (ancestor[i] > record[i])
            return Placement::After;
    }
    return ancestorLength <= recordLength ? Placement::Matches : Placement::After;
}

// One ordered pass over both sorted key lists: each record's parent row (-1 when none) and the
// number of records under each ancestor record.
void MatchRecordsToAncestors(const CRecordKeys& records, const CRecordKeys& ancestors,
                             std::vector<int>& parents, std::vector<std::int32_t>& counts) {
    counts.assign(ancestors.size(), 0);
    parents.assign(records.size(), -1);
    const std::size_t ancestorCount = ancestors.size();
    std::size_t ancestorRow = 0;
    for (std::size_t row = 0; row < records.size(); ++row) {
        while (ancestorRow < ancestorCount) {
            const Placement placement = PlaceAncestor(ancestors.Key(ancestorRow), ancestors.KeyLength(),
                                                      records.Key(row), records.KeyLength());
            if (placement == Placement::Before) {
                ++ancestorRow;
                continue;
            }
            if (placement == Placement::Matches) {
                ++counts[ancestorRow];
                parents[row] = static_cast<int>(ancestorRow);
            }
            break;
        }
    }
}

// The parent rows that counts alone describe: the records laid out in order under the ancestor
// records, the records left over having none.
std::vector<int> ParentRowsFromCounts(const std::vector<std::int32_t>& counts, int recordCount) {
    std::vector<int> parents(static_cast<std::size_t>(std::max(recordCount, 0)), -1);
    std::size_t row = 0;
    for (std::size_t ancestorRow = 0; ancestorRow < counts.size(); ++ancestorRow)
        for (std::int32_t k = 0; k < counts[ancestorRow] && row < parents.size(); ++k)
            parents[row++] = static_cast<int>(ancestorRow);
    return parents;
}

} // namespace

CQuestionNiveau::CQuestionNiveau(CEnquete* survey) : CQuestionEtendue(survey) {}

CQuestionNiveau::CQuestionNiveau(CEnquete* survey, const CQuestion& model) : CQuestionEtendue(survey, model) {}

// ---- Loading --------------------------------------------------------------------------------

bool CQuestionNiveau::ChargerEffectifs(CEnquete& survey, int levelIndex, std::string& error) {
    if (m_loaded)
        return true;
    m_records.Reset(depth + 1);
    // Without a source given to the survey, the records come from the response tables, through
    // a data access made for this one read.
    std::unique_ptr<CDataAccess> dataAccess;
    CRecordKeySource* source = survey.GetRecordKeySource();
    if (source == nullptr) {
        dataAccess = std::make_unique<CDataAccess>(survey, true);
        source = dataAccess.get();
    }
    if (!source->ReadRecordKeys(*this, levelIndex, m_records, error)) {
        m_records.clear();
        return false;
    }
    m_loaded = true;
    if (levelIndex > 0) {
        for (int ancestor = DonnerNiveauParent(levelIndex, survey);; ancestor = DonnerNiveauParent(ancestor, survey)) {
            if (!LoadAncestor(survey, ancestor, error)) {
                ForgetRecords();
                return false;
            }
            if (ancestor == 0)
                break;
        }
    }
    m_recordCount = static_cast<int>(m_records.size());
    m_records.ShrinkToFit();
    return true;
}

bool CQuestionNiveau::LoadAncestor(CEnquete& survey, int ancestorLevel, std::string& error) {
    CQuestionNiveau* ancestor = survey.DonnerNiveau(ancestorLevel);
    if (ancestor == nullptr || ancestor == this) {
        error = "Le niveau parent du niveau '" + name + "' est introuvable";
        return false;
    }
    if (!ancestor->ChargerEffectifs(survey, ancestorLevel, error))
        return false;
    std::vector<int> parents;
    std::vector<std::int32_t> counts;
    MatchRecordsToAncestors(m_records, ancestor->GetEnregistrements(), parents, counts);
    SetEffectifs(ancestorLevel, std::move(counts));
    m_parentRows[ancestorLevel] = std::move(parents);
    return true;
}

// A level whose parent could not be loaded is not loaded either: a later call starts again.
void CQuestionNiveau::ForgetRecords() {
    m_loaded = false;
    m_records.clear();
    m_counts.clear();
    m_parentRows.clear();
    m_recordCount = 0;
}

void CQuestionNiveau::SetEffectifs(int ancestorLevel, std::vector<std::int32_t> counts) {
    m_counts[ancestorLevel] = std::move(counts);
    m_parentRows.erase(ancestorLevel);
}

bool CQuestionNiveau::GetEffectifs(int ancestorLevel, std::vector<std::int32_t>& counts) const {
    const auto found = m_counts.find(ancestorLevel);
    if (found == m_counts.end())
        return false;
    counts = found->second;
    return true;
}

// ---- Carrying data down ---------------------------------------------------------------------

bool CQuestionNiveau::ParentRows(int sourceLevel, std::vector<int>& parents) const {
    const auto counts = m_counts.find(sourceLevel);
    if (counts == m_counts.end())
        return false;
    const auto known = m_parentRows.find(sourceLevel);
    parents = known != m_parentRows.end() ? known->second : ParentRowsFromCounts(counts->second, m_recordCount);
    parents.resize(static_cast<std::size_t>(m_recordCount), -1);
    return true;
}

bool CQuestionNiveau::TransfererCodes(const CMatriceCodes& source, CMatriceCodes& out, int sourceLevel,
                                      int targetLevel) const {
    if (sourceLevel == targetLevel) {
        out = source;
        return true;
    }
    std::vector<int> parents;
    if (!ParentRows(sourceLevel, parents))
        return false;
    const int columns = source.GetNbColonnes();
    out.Vider(columns);
    out.SetNbLignes(m_recordCount);
    for (int row = 0; row < m_recordCount; ++row) {
        const int parent = parents[static_cast<std::size_t>(row)];
        if (parent < 0 || parent >= source.GetNbLignes())
            continue;
        for (int column = 0; column < columns; ++column)
            out.SetAt(row, column, source.GetAt(parent, column));
    }
    return true;
}

bool CQuestionNiveau::TransfererValeurs(const CVecteurDouble& source, CVecteurDouble& out, int sourceLevel,
                                        int targetLevel) const {
    if (sourceLevel == targetLevel) {
        out = source;
        return true;
    }
    std::vector<int> parents;
    if (!ParentRows(sourceLevel, parents))
        return false;
    out.SetSize(m_recordCount);
    for (int row = 0; row < m_recordCount; ++row) {
        const int parent = parents[static_cast<std::size_t>(row)];
        const bool hasParent = parent >= 0 && parent < source.GetSize();
        out.SetAt(row, hasParent ? source.GetAt(parent) : CModalite::kNotAskedValue);
    }
    return true;
}

bool CQuestionNiveau::TransfererTextes(const std::vector<std::string>& source, std::vector<std::string>& out,
                                       int sourceLevel, int targetLevel) const {
    if (sourceLevel == targetLevel) {
        out = source;
        return true;
    }
    out.clear();
    std::vector<int> parents;
    if (!ParentRows(sourceLevel, parents))
        return false;
    out.resize(static_cast<std::size_t>(m_recordCount));
    for (int row = 0; row < m_recordCount; ++row) {
        const int parent = parents[static_cast<std::size_t>(row)];
        if (parent >= 0 && static_cast<std::size_t>(parent) < source.size())
            out[static_cast<std::size_t>(row)] = source[static_cast<std::size_t>(parent)];
    }
    return true;
}

// ---- The level tree -------------------------------------------------------------------------

int DonnerNiveauParent(int level, const CEnquete& survey) {
    const CQuestionNiveau* current = level > 0 ? survey.DonnerNiveau(level) : nullptr;
    if (current == nullptr)
        return 0;
    for (int i = level - 1; i >= 0; --i) {
        const CQuestionNiveau* candidate = survey.DonnerNiveau(i);
        if (candidate != nullptr && candidate->depth < current->depth)
            return i;
    }
    return 0;
}

bool TrouverIndexNiveau(std::int32_t code, int& index, const CEnquete& survey) {
    for (int i = 0; i < survey.DonnerNbreNiveaux(); ++i) {
        if (survey.DonnerNiveau(i)->code == code) {
            index = i;
            return true;
        }
    }
    return false;
}

bool EstDansNiveau(const CQuestionEtendue& question, int level, const CEnquete& survey) {
    if (question.level == 0 || question.level == level)
        return true;
    if (level < 1)
        return false;
    for (int ancestor = DonnerNiveauParent(level, survey); ancestor != 0;
         ancestor = DonnerNiveauParent(ancestor, survey)) {
        if (ancestor == question.level)
            return true;
    }
    return false;
}

bool EstDansNiveauDe(const CQuestionEtendue& question, const CEnquete& survey) {
    return EstDansNiveau(question, survey.currentLevel, survey);
}
