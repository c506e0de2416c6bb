#include "tabulation/CroisementProfils.h"

#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "tabulation/CrossPlanes.h"
#include "tabulation/MoteurTableau.h"
#include "tabulation/Profil.h"
#include "tabulation/ProfileLine.h"
#include "tabulation/TableauBase.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace CroisementProfils {
namespace {

constexpr double kMissing = CTableauBase::kValeurManquante;
constexpr int kFlatValues = CMoteurTableau::kFlatValueCount;
constexpr int kTotalLineSide = 1;
constexpr int kTotalColumnSide = 0;
constexpr double kHundred = 100.0;

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

std::uint16_t Span(int further) { return static_cast<std::uint16_t>(std::clamp(further, 0, 0xFFFF)); }

// Cell (i, j) of a plane among the eight planes of an s x t cross; a code naming no plane shows
// no value.
double PlaneValue(std::span<const double> planes, std::int32_t plane, int s, int t, int i, int j) {
    if (plane < 0 || plane >= CrossPlanes::kPlaneCount)
        return kMissing;
    const std::size_t at = (Index(plane) * Index(s) + Index(i)) * Index(t) + Index(j);
    return at < planes.size() ? planes[at] : kMissing;
}

// What a profile Total cell of that plane shows, from the ten flat values of its modality. The
// expected count of a Total is its count, as in a cross table; its test value is none.
double TotalValue(std::span<const double> values, int place, std::int32_t plane, int side) {
    const int value = plane == CrossPlanes::kExpectedCount ? DonnerValeursTotal(CrossPlanes::kCount, side)
                                                           : DonnerValeursTotal(plane, side);
    if (value < 0)
        return kMissing;
    const std::size_t at = Index(place) * Index(kFlatValues) + Index(value);
    return at < values.size() ? values[at] : kMissing;
}

class Builder {
public:
    Builder(CMoteurTableau& engine, const Entrees& in, ResultatsProfils& out)
        : m_engine(engine), m_in(in), m_out(out) {}

    bool Build(std::string& error) {
        Shape();
        int line = FirstLine();
        for (int i = 0; i < m_in.rowProfile.GetCount(); ++i)
            if (!CrossRowQuestion(i, line, error))
                return false;
        TotalLabels();
        if (m_in.rowTotal && !FillTotalLine(error))
            return false;
        if (m_in.columnTotal && !FillTotalColumn(error))
            return false;
        FillCorner();
        for (const std::int32_t code : m_in.planeCodes)
            m_out.markers.push_back(static_cast<std::uint16_t>(CMoteurTableau::DonnerTypeMarqueur(code)));
        return true;
    }

private:
    void Shape() {
        const int rowModalities = m_in.rowProfile.GetNbreModalitesTotal();
        m_out.H = 2;
        m_out.V = m_in.emptyLinePerQuestion ? 1 : 2;
        m_out.R = rowModalities + (m_in.emptyLinePerQuestion ? m_in.rowProfile.GetCount() : 0) +
                  (m_in.rowTotal ? 1 : 0);
        m_out.C = m_in.columnProfile.GetNbreModalitesTotal() + (m_in.columnTotal ? 1 : 0);
        m_out.blocks.assign(m_in.planeCodes.size(),
                            std::vector<double>(Index(m_out.R) * Index(m_out.C), 0.0));
        m_out.rowMerges = CFusion(m_out.H, m_out.V, m_out.R, m_out.C);
        m_out.columnMerges = CFusion(m_out.H, m_out.V, m_out.R, m_out.C);
        m_out.rowLabels.assign(Index(m_out.V), std::vector<const CLigne*>(Index(m_out.R), nullptr));
        m_out.columnLabels.assign(Index(m_out.H), std::vector<const CLigne*>(Index(m_out.C), nullptr));
        m_out.base = 0.0;
    }

    int FirstLine() const { return m_in.rowTotal && m_in.totalBefore ? 1 : 0; }
    int FirstColumn() const { return m_in.columnTotal && m_in.totalBefore ? 1 : 0; }
    int TotalLine() const { return m_in.totalBefore ? 0 : m_out.R - 1; }
    int TotalColumn() const { return m_in.totalBefore ? 0 : m_out.C - 1; }

    double& Cell(std::size_t block, int row, int column) {
        return m_out.blocks[block][Index(row) * Index(m_out.C) + Index(column)];
    }

    const CLigne* Keep(std::unique_ptr<CLigne> label) {
        m_out.labels.push_back(std::move(label));
        return m_out.labels.back().get();
    }

    const CLigne* Caption(const CQuestionEtendue& question, bool heading) {
        auto label = std::make_unique<CLigne>(question.GetCaption());
        label->heading = heading ? 1 : 0;
        return Keep(std::move(label));
    }

    // The caption line (or caption cell) and the modality labels of row question i; then its
    // cross with every column question.
    bool CrossRowQuestion(int i, int& line, std::string& error) {
        const ProfileLine rows = ProfileLine::Donner(m_engine, m_in.rowProfile, i);
        if (rows.question == nullptr)
            return true;
        const int s = rows.SelectedCount();
        m_out.rowLabels[0][Index(line)] = Caption(*rows.question, true);
        if (m_in.emptyLinePerQuestion) {
            for (std::size_t k = 0; k < m_out.blocks.size(); ++k)
                for (int column = 0; column < m_out.C; ++column)
                    Cell(k, line, column) = kMissing;
            m_out.columnMerges.SetFusion(m_out.H + line, m_out.V, Span(m_out.C - 1));
            ++line;
        } else {
            m_out.rowMerges.SetFusion(m_out.H + line, 0, Span(s - 1));
        }
        const std::size_t modalityLevel = m_in.emptyLinePerQuestion ? 0 : 1;
        for (int a = 0; a < s; ++a)
            m_out.rowLabels[modalityLevel][Index(line + a)] =
                Keep(std::make_unique<CLigne>(*rows.selected[Index(a)]));
        int column = FirstColumn();
        for (int j = 0; j < m_in.columnProfile.GetCount(); ++j)
            if (!CrossPair(rows, i == 0, j, line, column, error))
                return false;
        line += s;
        return true;
    }

    bool CrossPair(const ProfileLine& rows, bool labelColumns, int j, int line, int& column,
                   std::string& error) {
        const ProfileLine columns = ProfileLine::Donner(m_engine, m_in.columnProfile, j);
        if (columns.question == nullptr)
            return true;
        const int s = rows.SelectedCount();
        const int t = columns.SelectedCount();
        std::vector<double> matrix;
        double total = 0.0;
        if (!m_engine.CroiserModalites(*rows.question, *columns.question, matrix, total, rows.map,
                                       columns.map, m_in.level, m_in.studyField, m_in.weighting, error,
                                       &m_marks))
            return false;
        std::vector<double> planes;
        m_engine.CalculerPourcentages(planes, matrix, s, rows.modalityCount, rows.signedMap,
                                      rows.totalPosition, t, columns.modalityCount, columns.signedMap,
                                      columns.totalPosition);
        m_out.base = std::max(m_out.base, total);
        if (labelColumns)
            LabelColumns(columns, column);
        for (std::size_t k = 0; k < m_in.planeCodes.size(); ++k)
            for (int a = 0; a < s; ++a)
                for (int b = 0; b < t; ++b)
                    Cell(k, line + a, column + b) = PlaneValue(
                        planes, m_in.planeCodes[k], s, t, rows.sources[Index(a)], columns.sources[Index(b)]);
        column += t;
        return true;
    }

    void LabelColumns(const ProfileLine& columns, int column) {
        const int t = columns.SelectedCount();
        m_out.columnLabels[0][Index(column)] = Caption(*columns.question, false);
        m_out.columnMerges.SetFusion(0, m_out.V + column, Span(t - 1));
        for (int b = 0; b < t; ++b)
            m_out.columnLabels[1][Index(column + b)] =
                Keep(std::make_unique<CLigne>(*columns.selected[Index(b)]));
    }

    void TotalLabels() {
        if (m_in.rowTotal) {
            const int line = TotalLine();
            if (m_in.rowTotalModality != nullptr)
                m_out.rowLabels[0][Index(line)] = Keep(std::make_unique<CLigne>(*m_in.rowTotalModality));
            m_out.columnMerges.SetFusion(m_out.H + line, 0, Span(m_out.V - 1));
        }
        if (m_in.columnTotal) {
            const int column = TotalColumn();
            if (m_in.columnTotalModality != nullptr)
                m_out.columnLabels[0][Index(column)] =
                    Keep(std::make_unique<CLigne>(*m_in.columnTotalModality));
            m_out.rowMerges.SetFusion(0, m_out.V + column, Span(m_out.H - 1));
        }
    }

    // The ten flat values of the chosen modalities of a question, counted over the units that
    // answered a pair of any cross (all units when none was crossed).
    bool CountOverMarkedUnits(const ProfileLine& question, std::vector<double>& values, std::string& error) {
        const auto marks = m_marks.find(m_in.level);
        const std::vector<std::uint8_t>* filter = marks != m_marks.end() ? &marks->second : nullptr;
        std::vector<double> counts;
        double respondents = 0.0;
        double total = 0.0;
        if (!m_engine.CompterModalites(*question.question, counts, respondents, total, question.map,
                                       m_in.level, m_in.studyField, m_in.weighting, error, filter))
            return false;
        const int s = question.SelectedCount();
        m_engine.CalculerValeursTri(values, counts, respondents, total, s, question.modalityCount,
                                    question.map, question.totalPosition, question.nonResponsePosition);
        return true;
    }

    bool FillTotalLine(std::string& error) {
        const int line = TotalLine();
        int column = FirstColumn();
        for (int j = 0; j < m_in.columnProfile.GetCount(); ++j) {
            const ProfileLine columns = ProfileLine::Donner(m_engine, m_in.columnProfile, j);
            if (columns.question == nullptr)
                continue;
            std::vector<double> values;
            if (!CountOverMarkedUnits(columns, values, error))
                return false;
            for (std::size_t k = 0; k < m_in.planeCodes.size(); ++k)
                for (int b = 0; b < columns.SelectedCount(); ++b)
                    Cell(k, line, column + b) =
                        TotalValue(values, columns.sources[Index(b)], m_in.planeCodes[k], kTotalLineSide);
            column += columns.SelectedCount();
        }
        return true;
    }

    bool FillTotalColumn(std::string& error) {
        const int column = TotalColumn();
        int line = FirstLine();
        for (int i = 0; i < m_in.rowProfile.GetCount(); ++i) {
            const ProfileLine rows = ProfileLine::Donner(m_engine, m_in.rowProfile, i);
            if (rows.question == nullptr)
                continue;
            if (m_in.emptyLinePerQuestion)
                ++line;
            std::vector<double> values;
            if (!CountOverMarkedUnits(rows, values, error))
                return false;
            for (std::size_t k = 0; k < m_in.planeCodes.size(); ++k)
                for (int a = 0; a < rows.SelectedCount(); ++a)
                    Cell(k, line + a, column) =
                        TotalValue(values, rows.sources[Index(a)], m_in.planeCodes[k], kTotalColumnSide);
            line += rows.SelectedCount();
        }
        return true;
    }

    // Where both Totals meet: the base, and percentages of 100.
    void FillCorner() {
        if (!m_in.rowTotal || !m_in.columnTotal)
            return;
        const int line = TotalLine();
        const int column = TotalColumn();
        for (std::size_t k = 0; k < m_in.planeCodes.size(); ++k) {
            double value = 0.0;
            switch (m_in.planeCodes[k]) {
            case CrossPlanes::kCount:
                value = m_out.base;
                break;
            case CrossPlanes::kRowPercentage:
            case CrossPlanes::kColumnPercentage:
            case CrossPlanes::kTotalPercentage:
                value = kHundred;
                break;
            case CrossPlanes::kMark:
            case CrossPlanes::kExpectedCount:
            case CrossPlanes::kTestValue:
            case CrossPlanes::kAffinity:
                break;
            default:
                value = kMissing;
                break;
            }
            Cell(k, line, column) = value;
        }
    }

    CMoteurTableau& m_engine;
    const Entrees& m_in;
    ResultatsProfils& m_out;
    CMoteurTableau::MarquesRepondants m_marks;
};

} // namespace

bool CroiserProfils(CMoteurTableau& engine, const Entrees& in, ResultatsProfils& out, std::string& error) {
    LibererResultatsProfils(out);
    Builder builder(engine, in, out);
    if (builder.Build(error))
        return true;
    LibererResultatsProfils(out);
    return false;
}

void LibererResultatsProfils(ResultatsProfils& results) {
    results = ResultatsProfils{};
}

int DonnerValeursTotal(int plane, int side) {
    // By plane: the value on the Total line, then on the Total column.
    constexpr int kCountValue = 0;
    constexpr int kPercentageValue = 1;
    constexpr int kTotalValue = 9;
    struct Row {
        int line;
        int column;
    };
    static constexpr std::array<Row, CrossPlanes::kPlaneCount> kValues{{
        {kCountValue, kCountValue},           // count
        {kPercentageValue, kTotalValue},      // row percentage
        {kTotalValue, kPercentageValue},      // column percentage
        {kPercentageValue, kPercentageValue}, // total percentage
        {kTotalValue, kTotalValue},           // significance mark
        {-1, -1},                             // expected count
        {-1, -1},                             // test value
        {kTotalValue, kTotalValue},           // affinity
    }};
    if (plane < 0 || plane >= CrossPlanes::kPlaneCount)
        return -1;
    const Row& row = kValues[Index(plane)];
    return side == kTotalLineSide ? row.line : row.column;
}

} // namespace CroisementProfils
