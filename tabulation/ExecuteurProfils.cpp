#include "tabulation/ExecuteurTraitement.h"

#include "app/Calcul.h"
#include "app/ContexteEtude.h"
#include "app/Ligne.h"
#include "app/QuestionEtendue.h"
#include "app/Registre.h"
#include "tabulation/AxesTraitement.h"
#include "tabulation/CroisementProfils.h"
#include "tabulation/DecoupageProfils.h"
#include "tabulation/Fusion.h"
#include "tabulation/MoteurTableau.h"
#include "tabulation/NumericStatistics.h"
#include "tabulation/ProfileChecks.h"
#include "tabulation/ProfileLine.h"
#include "tabulation/ValeursDerivees.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

// The tables of profiles: simple profiles (the flat values of each question, stacked), statistical
// profiles (the statistics of each numeric question, one line each) and crossed profiles (every
// row question by every column question), with the rule that splits a request of two profiles
// into sub-requests. The comparison of modalities, the crossed mean profiles and the open-question
// profiles are in files of their own.
//
// A profile is computed only when every question and modality it names is still in the survey;
// otherwise the user is told what is missing and no table is made.

namespace {

using Calculs = CTraitement::Calculs;
using NiveauxLibelles = CExecuteurTraitement::NiveauxLibelles;
using Modalities = std::vector<std::unique_ptr<CModaliteEtendue>>;
using Compute = std::function<void(std::unique_ptr<CTraitement>)>;

constexpr double kMissing = CTableauBase::kValeurManquante;
constexpr int kFlatValues = CMoteurTableau::kFlatValueCount;

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

int Count(std::size_t size) { return static_cast<int>(size); }

// Value `code` of record `record` among records of `width` values; a code the record does not have
// shows no value.
double ValueOf(std::span<const double> values, int record, int width, std::int32_t code) {
    if (code < 0 || code >= width)
        return kMissing;
    const std::size_t at = Index(record) * Index(width) + Index(code);
    return at < values.size() ? values[at] : kMissing;
}

std::string CaptionOf(const CProfil& profile, int line) {
    const CQuestionEtendue* question = profile.GetQuestion(line);
    return question != nullptr ? question->GetCaption() : std::string();
}

// Whether the request's profiles can be computed on the survey; the faults are shown otherwise.
bool Calculable(const CExecuteurTraitement& runner, const CTraitement& request,
                std::initializer_list<std::pair<int, std::int16_t>> axes) {
    std::vector<Message> faults;
    for (const auto& [axis, kind] : axes) {
        std::vector<Message> found =
            ProfileChecks::FaultsOf(runner.GetContexte(), request.GetProfilAxe(axis), kind);
        faults.insert(faults.end(), found.begin(), found.end());
    }
    return ProfileChecks::ShowFaults(runner.GetContexte().GetUserInterface(), faults);
}

// A copy of the profile without its separators.
CProfil WithoutSeparators(const CProfil& profile) {
    CProfil copy(profile);
    copy.RemoveSeparators();
    return copy;
}

std::vector<std::uint16_t> MarkersOf(const Calculs& calculations, std::uint16_t (*marker)(std::int32_t)) {
    std::vector<std::uint16_t> markers;
    markers.reserve(calculations.size());
    for (const auto& calculation : calculations)
        markers.push_back(marker(calculation->code));
    return markers;
}

NiveauxLibelles CalculationLabels(const Calculs& calculations) {
    NiveauxLibelles levels(1);
    for (const auto& calculation : calculations)
        levels[0].push_back(calculation.get());
    return levels;
}

// ---- Splitting ----

// One sub-request per pair of a row question and a column question: a cross table (8), a mean
// table (13), or an advanced table of two one-question profiles (14). Titled "row x column".
std::unique_ptr<CTraitement> PairRequest(const CTraitement& request, const CProfil& rows, int i,
                                         const CProfil& columns, int j, std::int16_t type) {
    auto copy = std::make_unique<CTraitement>(request);
    switch (type) {
    case CTraitement::kProfilsCroises:
        AxesTraitement::AjouterAxeAvecTotal(*copy, rows, i, CTraitement::kLignes,
                                            request.GetTotalAxe(CTraitement::kLignes) != 0);
        AxesTraitement::AjouterAxeAvecTotal(*copy, columns, j, CTraitement::kColonnes,
                                            request.GetTotalAxe(CTraitement::kColonnes) != 0);
        copy->SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeFermee);
        copy->SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeFermee);
        copy->type = CTraitement::kTriCroise;
        break;
    case CTraitement::kProfilsCroisesMoyenne:
        AxesTraitement::AjouterAxeAvecTotal(*copy, rows, i, CTraitement::kLignes,
                                            request.GetTotalAxe(CTraitement::kLignes) != 0);
        AxesTraitement::DefinirAxeQuestion(*copy, columns, j, CTraitement::kColonnes);
        copy->SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeFermee);
        copy->SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeNumerique);
        copy->type = CTraitement::kTableauMoyenne;
        break;
    default:
        AxesTraitement::DefinirAxeProfilQuestion(*copy, rows, i, CTraitement::kLignes);
        AxesTraitement::DefinirAxeProfilQuestion(*copy, columns, j, CTraitement::kColonnes);
        break;
    }
    copy->title = CaptionOf(rows, i) + " x " + CaptionOf(columns, j);
    return copy;
}

void ComputePairs(const CTraitement& request, const CProfil& rows, const CProfil& columns, std::int16_t type,
                  const Compute& compute) {
    const bool rowsOutside = CRegistre::GetIsBreakColumnsFirst();
    const CProfil& outer = rowsOutside ? rows : columns;
    const CProfil& inner = rowsOutside ? columns : rows;
    for (int o = 0; o < outer.GetCount(); ++o) {
        if (outer.IsSeparator(o))
            continue;
        for (int n = 0; n < inner.GetCount(); ++n) {
            if (inner.IsSeparator(n))
                continue;
            const int i = rowsOutside ? o : n;
            const int j = rowsOutside ? n : o;
            compute(PairRequest(request, rows, i, columns, j, type));
        }
    }
}

// One sub-request per question of the axis, that axis a profile of that question alone.
void ComputeOneQuestionEach(const CTraitement& request, const CProfil& profile, int axis,
                            const Compute& compute) {
    for (int i = 0; i < profile.GetCount(); ++i) {
        if (profile.IsSeparator(i))
            continue;
        auto copy = std::make_unique<CTraitement>(request);
        AxesTraitement::DefinirAxeProfilQuestion(*copy, profile, i, axis);
        compute(std::move(copy));
    }
}

// One sub-request per group of the first of the axes whose profile separators divide; false when
// none does.
bool ComputeSeparatedParts(const CTraitement& request, std::initializer_list<int> axes,
                           const Compute& compute) {
    for (const int axis : axes) {
        const CProfil* profile = request.GetProfilAxe(axis);
        std::vector<std::unique_ptr<CProfil>> parts;
        if (profile == nullptr || !DecoupageProfils::DecouperProfilSeparateurs(*profile, parts))
            continue;
        for (const auto& part : parts) {
            auto copy = std::make_unique<CTraitement>(request);
            copy->SetProfilAxe(part.get(), axis);
            compute(std::move(copy));
        }
        return true;
    }
    return false;
}

bool SplitAtRowSeparators(CExecuteurTraitement& runner, std::unique_ptr<CTraitement>& request) {
    const Compute compute = [&runner](std::unique_ptr<CTraitement> part) {
        runner.Calculer(std::move(part));
    };
    if (!ComputeSeparatedParts(*request, {CTraitement::kLignes}, compute))
        return false;
    request.reset();
    return true;
}

// ---- Simple profiles ----

// The lines of one question of a stacked simple profile: its chosen modalities, with the Total
// where the option puts it.
Modalities LinesOfQuestion(const CSousProfil& line, const CModaliteEtendue* total) {
    Modalities modalities;
    line.GetModalites(modalities);
    if (total != nullptr) {
        auto copy = std::make_unique<CModaliteEtendue>(*total);
        if (CRegistre::GetIsTotalBefore())
            modalities.insert(modalities.begin(), std::move(copy));
        else
            modalities.push_back(std::move(copy));
    }
    return modalities;
}

// The rows of a stacked table, built one after the other.
struct StackedRows {
    int columns = 0;
    std::vector<double> cells;
    std::vector<std::unique_ptr<CLigne>> labels; // null for a row without label
    std::vector<int> headings;                   // rows whose cells are merged into one
    double base = 0.0;

    int Rows() const { return Count(labels.size()); }
    // A row of no value.
    void AddEmpty(std::unique_ptr<CLigne> label) {
        labels.push_back(std::move(label));
        cells.insert(cells.end(), Index(columns), kMissing);
    }
    void AddHeading(const CQuestionEtendue& question) {
        auto label = std::make_unique<CLigne>(question.GetCaption());
        label->heading = 1;
        headings.push_back(Rows());
        AddEmpty(std::move(label));
    }
};

bool StackQuestion(CMoteurTableau& engine, const CTraitement& request, const CSousProfil& line,
                   const CModaliteEtendue* total, StackedRows& stack, std::string& error) {
    CProfil single;
    single.Add(line.GetQuestion(), LinesOfQuestion(line, total));
    const ProfileLine axis = ProfileLine::Donner(engine, single, 0);
    std::vector<double> counts;
    double respondents = 0.0;
    double units = 0.0;
    if (!engine.CompterModalites(*axis.question, counts, respondents, units, axis.map, request.level,
                                 request.studyFieldId, request.weightingId, error))
        return false;
    std::vector<double> values;
    engine.CalculerValeursTri(values, counts, respondents, units, axis.SelectedCount(), axis.modalityCount,
                              axis.map, axis.totalPosition, axis.nonResponsePosition);
    stack.base = std::max(stack.base, respondents);
    const Calculs& calculations = request.GetCalculsLignes();
    for (int a = 0; a < axis.SelectedCount(); ++a) {
        stack.labels.push_back(std::make_unique<CLigne>(*axis.selected[Index(a)]));
        for (const auto& calculation : calculations)
            stack.cells.push_back(ValueOf(values, axis.sources[Index(a)], kFlatValues, calculation->code));
    }
    return true;
}

} // namespace

bool CExecuteurTraitement::DecouperProfils(std::unique_ptr<CTraitement>& request, std::int16_t type) {
    if (!request)
        return false;
    const CProfil* rows = request->GetProfilAxe(CTraitement::kLignes);
    const CProfil* columns = request->GetProfilAxe(CTraitement::kColonnes);
    if (rows == nullptr || columns == nullptr)
        return false;
    const Compute compute = [this](std::unique_ptr<CTraitement> part) { Calculer(std::move(part)); };
    const bool byRow = request->mergeOptions.EstTableauParLigne != 0;
    const bool byColumn = request->mergeOptions.EstTableauParColonne != 0;
    if (byRow && byColumn) {
        if (rows->GetCount() < 2 && columns->GetCount() < 2)
            return false;
        ComputePairs(*request, *rows, *columns, type, compute);
    } else if (byColumn && columns->GetCount() > 1) {
        ComputeOneQuestionEach(*request, *columns, CTraitement::kColonnes, compute);
    } else if (byRow && rows->GetCount() > 1) {
        ComputeOneQuestionEach(*request, *rows, CTraitement::kLignes, compute);
    } else {
        const bool split =
            CRegistre::GetIsBreakColumnsFirst()
                ? ComputeSeparatedParts(*request, {CTraitement::kColonnes, CTraitement::kLignes}, compute)
                : ComputeSeparatedParts(*request, {CTraitement::kLignes, CTraitement::kColonnes}, compute);
        if (!split)
            return false;
    }
    request.reset();
    return true;
}

void CExecuteurTraitement::CalculerProfilsSimples(std::unique_ptr<CTraitement> request) {
    if (!Calculable(*this, *request, {{CTraitement::kLignes, CTraitement::kAxeProfilFermees}}))
        return;
    const CProfil& profile = *request->GetProfilAxe(CTraitement::kLignes);
    const bool withTotal = request->GetTotalAxe(CTraitement::kLignes) != 0;
    if (request->mergeOptions.EstTableauParLigne != 0) {
        // A flat table of each question.
        for (int i = 0; i < profile.GetCount(); ++i) {
            if (profile.IsSeparator(i))
                continue;
            auto copy = std::make_unique<CTraitement>(*request);
            AxesTraitement::AjouterAxeAvecTotal(*copy, profile, i, CTraitement::kLignes, withTotal);
            copy->SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeFermee);
            copy->type = CTraitement::kTriSimple;
            copy->title = CaptionOf(profile, i);
            Calculer(std::move(copy));
        }
        return;
    }
    if (SplitAtRowSeparators(*this, request))
        return;

    const CProfil questions = WithoutSeparators(profile);
    const Calculs& calculations = request->GetCalculsLignes();
    const CModaliteEtendue* total =
        withTotal ? GetContexte().DonnerModaliteTotal(CTraitement::kLignes) : nullptr;
    CMoteurTableau engine(GetContexte());
    StackedRows stack;
    stack.columns = Count(calculations.size());
    for (int i = 0; i < questions.GetCount(); ++i) {
        if (i > 0 && request->mergeOptions.IsEmptyLinePerQuestion != 0)
            stack.AddEmpty(nullptr);
        stack.AddHeading(*questions.GetQuestion(i));
        std::string error;
        if (!StackQuestion(engine, *request, *questions.GetSousProfil(i), total, stack, error)) {
            SignalerErreur(error);
            return;
        }
    }
    const int rows = stack.Rows();
    auto rowMerges = std::make_unique<CFusion>(1, 1, rows, stack.columns);
    auto columnMerges = std::make_unique<CFusion>(1, 1, rows, stack.columns);
    for (const int heading : stack.headings)
        columnMerges->SetFusion(1 + heading, 1, static_cast<std::uint16_t>(std::max(stack.columns - 1, 0)));
    NiveauxLibelles rowLabels(1);
    for (const auto& label : stack.labels)
        rowLabels[0].push_back(label.get());
    ConstruireTableau(1, 1, rows, stack.columns, stack.cells,
                      MarkersOf(calculations, ValeursDerivees::MarqueCalculTri), rowLabels,
                      CalculationLabels(calculations), std::move(rowMerges), std::move(columnMerges), nullptr,
                      stack.base, CTableauBase::kMarqueParColonne, std::move(request));
}

void CExecuteurTraitement::CalculerProfilsStatistiques(std::unique_ptr<CTraitement> request) {
    if (!Calculable(*this, *request, {{CTraitement::kLignes, CTraitement::kAxeProfilNumeriques}}))
        return;
    if (SplitAtRowSeparators(*this, request))
        return;
    const CProfil questions = WithoutSeparators(*request->GetProfilAxe(CTraitement::kLignes));
    const Calculs& calculations = request->GetCalculsLignes();
    const int rows = questions.GetCount();
    const int columns = Count(calculations.size());
    CMoteurTableau engine(GetContexte());
    std::vector<double> cells;
    cells.reserve(Index(rows) * Index(columns));
    std::vector<std::unique_ptr<CLigne>> labels;
    double base = 0.0;
    for (int i = 0; i < rows; ++i) {
        CQuestionEtendue& question = *questions.GetQuestion(i);
        NumericStatistics::Statistics statistics{};
        double totalWeight = 0.0;
        std::string error;
        if (!engine.CalculerStatistiquesQuestion(question, request->level, request->studyFieldId,
                                                 request->weightingId, statistics, totalWeight, error)) {
            SignalerErreur(error);
            return;
        }
        base = std::max(base, totalWeight);
        labels.push_back(std::make_unique<CLigne>(question.GetCaption()));
        for (const auto& calculation : calculations)
            cells.push_back(ValueOf(statistics, 0, NumericStatistics::kStatisticCount, calculation->code));
    }
    NiveauxLibelles rowLabels(1);
    for (const auto& label : labels)
        rowLabels[0].push_back(label.get());
    ConstruireTableau(1, 1, rows, columns, cells,
                      MarkersOf(calculations, ValeursDerivees::MarqueCalculStatistique), rowLabels,
                      CalculationLabels(calculations), nullptr, nullptr, nullptr, base,
                      CTableauBase::kMarqueParColonne, std::move(request));
}

void CExecuteurTraitement::CalculerProfilsCroises(std::unique_ptr<CTraitement> request) {
    if (!Calculable(*this, *request,
                    {{CTraitement::kLignes, CTraitement::kAxeProfilFermees},
                     {CTraitement::kColonnes, CTraitement::kAxeProfilFermees}}))
        return;
    if (DecouperProfils(request, CTraitement::kProfilsCroises))
        return;
    const CProfil rows = WithoutSeparators(*request->GetProfilAxe(CTraitement::kLignes));
    const CProfil columns = WithoutSeparators(*request->GetProfilAxe(CTraitement::kColonnes));
    Calculs calculations;
    CCalcul::CopierTableau(calculations, request->GetCalculsLignes());
    std::vector<std::int32_t> planes;
    for (const auto& calculation : calculations)
        planes.push_back(calculation->code);
    const CroisementProfils::Entrees in{
        .rowProfile = rows,
        .columnProfile = columns,
        .planeCodes = planes,
        .emptyLinePerQuestion = request->mergeOptions.IsEmptyLinePerQuestion != 0,
        .rowTotal = request->GetTotalAxe(CTraitement::kLignes) != 0,
        .columnTotal = request->GetTotalAxe(CTraitement::kColonnes) != 0,
        .totalBefore = CRegistre::GetIsTotalBefore(),
        .level = request->level,
        .studyField = request->studyFieldId,
        .weighting = request->weightingId,
        .rowTotalModality = GetContexte().DonnerModaliteTotal(CTraitement::kLignes),
        .columnTotalModality = GetContexte().DonnerModaliteTotal(CTraitement::kColonnes),
    };
    CMoteurTableau engine(GetContexte());
    CroisementProfils::ResultatsProfils cross;
    std::string error;
    if (!CroisementProfils::CroiserProfils(engine, in, cross, error)) {
        SignalerErreur(error);
        return;
    }
    AssemblerTableaux(std::move(request), cross.blocks, cross.H, cross.R, cross.V, cross.C, cross.rowLabels,
                      cross.columnLabels, calculations, cross.rowMerges, cross.columnMerges, cross.markers,
                      cross.base);
}
