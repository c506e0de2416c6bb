#include "recodes/EditionRedressement.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/Bibliotheque.h"
#include "app/ContexteEtude.h"
#include "app/DBQuestionnaire.h"
#include "app/DataAccess.h"
#include "app/MatriceCodes.h"
#include "app/QuestionEtendue.h"
#include "app/Redressement.h"
#include "app/StringTable.h"
#include "app/VecteurDouble.h"
#include "platform/questionnaire/StaticTools.h"
#include "recodes/ObjectifRedressement.h"

namespace {

constexpr std::int32_t kNoWeighting = -1;
// Desired values typed by hand add up to their total up to this share of it.
constexpr double kTotalTolerance = 1e-9;

using Population = std::vector<std::uint8_t>; // non-zero: the interview is outside

bool InMemoryOnly(const CContexteEtude& context) { return context.DonnerCheminBase().empty(); }

std::int32_t NextKeyInMemory(const CContexteEtude& context) {
    std::int32_t largest = 0;
    for (const auto& existing : context.weightings)
        largest = std::max(largest, existing->id);
    return largest + 1;
}

std::string Number(double value) { return CStaticTools::FormatG(value, 15); }

// The modality index each interview answers (-5 and the like for none), one per interview.
bool ReadCodes(CQuestionEtendue& question, CDataAccess& access, std::int32_t interviews,
               std::vector<std::int16_t>& codes, std::string& error) {
    if (question.level != 0) {
        error = "La question '" + question.GetCaption() + "' n'est pas une question des interviews";
        return false;
    }
    CMatriceCodes* matrix = nullptr;
    if (!access.LireReponsesFermees(question, matrix)) {
        error = access.GetErrorText();
        return false;
    }
    const bool complete = matrix->GetNbLignes() == interviews && matrix->GetNbColonnes() >= 1;
    if (complete) {
        codes.resize(static_cast<std::size_t>(interviews));
        for (std::int32_t i = 0; i < interviews; ++i)
            codes[static_cast<std::size_t>(i)] = matrix->GetAt(i, 0);
    }
    access.MemoriserReponsesFermees(question, matrix);
    if (!complete)
        error = "La question '" + question.GetCaption() + "' n'a pas une réponse par interview";
    return complete;
}

class ObservedCounter {
public:
    explicit ObservedCounter(CEnquete& survey)
        : m_access(survey, true), m_interviews(survey.DonnerNbreInterviews()) {}

    bool Count(CObjectifRedressement& target, const Population& population, std::string& error) {
        std::vector<std::int16_t> codes;
        if (CQuestionEtendue* question = target.GetQuestion()) {
            if (!ReadCodes(*question, m_access, m_interviews, codes, error))
                return false;
            std::vector<double> counts(static_cast<std::size_t>(target.DonnerNombreModalites()), 0.0);
            for (std::size_t i = 0; i < codes.size(); ++i)
                if (population[i] == 0 && codes[i] >= 0 && codes[i] < static_cast<int>(counts.size()))
                    counts[static_cast<std::size_t>(codes[i])] += 1.0;
            for (std::size_t k = 0; k < counts.size(); ++k)
                target.SetValeurObservee(static_cast<int>(k), counts[k]);
        }
        for (int c = 0; c < target.DonnerNombreObjectifs(); ++c) {
            CObjectifRedressement& child = *target.DonnerObjectif(c);
            if (target.GetMode() == CObjectifRedressement::kModeEclate && !codes.empty()) {
                Population within = population;
                for (std::size_t i = 0; i < codes.size(); ++i)
                    if (codes[i] != c)
                        within[i] = 1;
                if (!Count(child, within, error))
                    return false;
            } else if (target.GetMode() == CObjectifRedressement::kModePopulation) {
                if (!Count(child, population, error))
                    return false;
            } else if (!Count(child, Population(population.size(), 0), error)) {
                return false;
            }
        }
        return true;
    }

    std::int32_t Interviews() const { return m_interviews; }

private:
    CDataAccess m_access;
    std::int32_t m_interviews;
};

std::optional<Message> CheckInitialWeights(CQuestionEtendue& question, CEnquete& survey) {
    CDataAccess access(survey, true);
    CVecteurDouble values;
    const Message invalid(StringTable::kPoidsInitialInvalide, {question.GetCaption()});
    if (!access.LireValeursNumeriquesNiveau(question, 0, values))
        return Message::Text(access.GetErrorText());
    for (const double value : values.Valeurs())
        if (value == CVecteurDouble::kNoAnswer || value == CVecteurDouble::kNotAsked || !std::isfinite(value) ||
            value < 0.0)
            return invalid;
    return std::nullopt;
}

// The targets that take part in the raking, each with the total its place gives it.
std::optional<Message> CheckTarget(const CObjectifRedressement& target, double total) {
    if (CQuestionEtendue* question = target.GetQuestion()) {
        const double sum = target.DonnerTotalDesire();
        if (std::fabs(sum - total) > kTotalTolerance * std::max(1.0, std::fabs(total)))
            return Message(StringTable::kObjectifsMalTotalises, {question->GetCaption(), Number(sum), Number(total)});
        for (int k = 0; k < target.DonnerNombreModalites(); ++k)
            if (target.DonnerValeurDesiree(k) > 0.0 && target.DonnerValeurObservee(k) == 0.0)
                return Message(StringTable::kRedressementNeConvergePas, {question->GetCaption()});
    }
    if (target.GetMode() == CObjectifRedressement::kModeSimple)
        return std::nullopt;
    for (int c = 0; c < target.DonnerNombreObjectifs(); ++c) {
        const double childTotal = target.GetMode() == CObjectifRedressement::kModeEclate
                                      ? target.DonnerPourcentageDesire(c) * total * 0.01
                                      : total;
        if (auto refused = CheckTarget(*target.DonnerObjectif(c), childTotal))
            return refused;
    }
    return std::nullopt;
}

} // namespace

std::unique_ptr<CObjectifRedressement> NouvelObjectif(CQuestionEtendue& question, bool split) {
    auto target = std::make_unique<CObjectifRedressement>(
        &question, split ? CObjectifRedressement::kModeEclate : CObjectifRedressement::kModeSimple);
    if (split)
        for (int k = 0; k < target->DonnerNombreModalites(); ++k)
            target->AjouterObjectif(std::make_unique<CObjectifRedressement>());
    return target;
}

CObjectifRedressement* AjouterObjectifArbre(CObjectifRedressement& root, CObjectifRedressement& parent,
                                            CQuestionEtendue& question, bool split, CEnquete& survey,
                                            std::string& error) {
    std::unique_ptr<CObjectifRedressement> target = NouvelObjectif(question, split);
    CObjectifRedressement* added = target.get();
    parent.AjouterObjectif(std::move(target));
    if (!RecompterObservees(root, survey, error))
        return nullptr;
    for (int k = 0; k < added->DonnerNombreModalites(); ++k)
        added->SetObjectif(k, added->DonnerValeurObservee(k));
    return added;
}

bool EstNoeudModalite(const CObjectifRedressement& target, const CObjectifRedressement* parent) {
    return target.GetQuestion() == nullptr && parent != nullptr &&
           parent->GetMode() == CObjectifRedressement::kModeEclate && parent->GetQuestion() != nullptr;
}

bool RecompterObservees(CObjectifRedressement& root, CEnquete& survey, std::string& error) {
    ObservedCounter counter(survey);
    return counter.Count(root, Population(static_cast<std::size_t>(counter.Interviews()), 0), error);
}

std::optional<Message> VerifierRedressement(CRedressement& scheme, CEnquete& survey) {
    if (!(scheme.NTotal > 0.0) || !std::isfinite(scheme.NTotal))
        return Message(StringTable::kEntrerNombrePositif);
    if (scheme.initialWeightQuestion != nullptr)
        if (auto refused = CheckInitialWeights(*scheme.initialWeightQuestion, survey))
            return refused;
    CObjectifRedressement* root = scheme.GetRacine();
    if (root == nullptr)
        return std::nullopt;
    std::string error;
    if (!RecompterObservees(*root, survey, error))
        return Message::Text(error);
    return CheckTarget(*root, scheme.NTotal);
}

bool EnregistrerRedressement(CRedressement& scheme, CContexteEtude& context, std::string& error) {
    CRedressement stored(scheme);
    if (scheme.GetRacine() != nullptr) {
        stored.initialWeightQuestion = scheme.initialWeightQuestion;
        stored.definition = scheme.EcrireValeurs(context, false);
    }
    if (InMemoryOnly(context)) {
        if (stored.id == 0)
            stored.id = NextKeyInMemory(context);
    } else {
        CDBQuestionnaire file(context, &context.GetUserInterface());
        if (!file.SaveWeighting(stored)) {
            error = file.GetLastError();
            return false;
        }
    }
    scheme.id = stored.id;
    scheme.definition = stored.definition;
    context.MettreAJourRedressement(scheme);
    // The study's default keeps the name it is shown with.
    if (context.weightingCode == scheme.id)
        context.weightingLabel = scheme.name;
    return true;
}

bool EffacerRedressement(std::int32_t id, CContexteEtude& context, std::string& error) {
    if (id != 0 && !InMemoryOnly(context)) {
        CDBQuestionnaire file(context, &context.GetUserInterface());
        if (!file.DeleteWeighting(id)) {
            error = file.GetLastError();
            return false;
        }
    }
    context.SupprimerRedressement(id);
    if (context.weightingCode == id) {
        context.weightingCode = kNoWeighting;
        context.weightingLabel = StringTable::Text(StringTable::kAucunRedressement);
    }
    return true;
}

CopieBibliotheque CopierVersBibliotheque(const CRedressement& scheme, CContexteEtude& context, std::string& error) {
    CBibliotheque library(context);
    if (!library.Open())
        return CopieBibliotheque::BibliothequeInaccessible;
    if (library.SaveWeighting(scheme))
        return CopieBibliotheque::Copiee;
    error = library.GetLastError();
    return error.empty() ? CopieBibliotheque::Refusee : CopieBibliotheque::Echec;
}

bool LireDeBibliotheque(CBibliotheque& library, std::int32_t code, CRedressement& scheme, CEnquete& survey,
                        const CObjectifRedressement::ChoixQuestion& choose) {
    CRedressement read;
    if (!library.ReadWeighting(code, read))
        return false;
    std::vector<std::string> parts;
    CStaticTools::LireChaineSeparateurString(read.definition, '~', parts);
    // A text that a scheme without targets was stored with is its targets alone.
    const std::string targets = parts.size() == 2 ? parts[1] : read.definition;
    CObjectifRedressement added;
    added.LireDefinition(survey, true, targets, choose);
    std::string error;
    RecompterObservees(added, survey, error);
    if (scheme.GetRacine() == nullptr)
        scheme.AttacherRacine(std::make_unique<CObjectifRedressement>());
    while (added.DonnerNombreObjectifs() > 0)
        scheme.GetRacine()->AjouterObjectif(added.RetirerObjectif(0));
    scheme.name = read.name;
    scheme.description = read.description;
    return true;
}
