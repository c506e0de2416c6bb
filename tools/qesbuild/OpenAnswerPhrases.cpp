#include "tools/qesbuild/OpenAnswerPhrases.h"

#include "tools/qesbuild/RandomSource.h"

#include <array>
#include <string_view>
#include <vector>

namespace qesbuild {

namespace {

using Pieces = std::vector<std::string_view>;

// Pieces by tone: 0 praise, 1 mixed, 2 complaint.
const std::array<Pieces, 3> kOpenings = {{
    {"Très bon service", "Service impeccable", "Rien à redire", "Le service était parfait",
     "Très satisfait du service", "Excellent accueil"},
    {"Service correct", "Dans l'ensemble c'était bien", "Correct sans plus", "Un service moyen",
     "Le service est correct"},
    {"Service décevant", "Très déçu du service", "Le service laisse à désirer", "Mauvaise expérience",
     "Pas satisfait du service"},
}};

const std::array<Pieces, 3> kDetails = {{
    {"le personnel est aimable et compétent", "la livraison a été rapide", "les conseillers sont à l'écoute",
     "on m'a bien conseillé", "le site internet est facile à utiliser", "la commande est arrivée en avance",
     "le vendeur a pris le temps de m'expliquer"},
    {"la livraison a pris un peu de temps", "le personnel est aimable mais débordé",
     "il faut attendre longtemps au téléphone", "le site internet n'est pas très clair",
     "les prix sont un peu élevés", "le choix est limité en magasin"},
    {"la livraison a eu une semaine de retard", "personne ne répond au téléphone",
     "le produit est arrivé abîmé", "le service client ne m'a jamais rappelé", "on m'a mal conseillé",
     "le remboursement a pris deux mois", "les conseillers ne sont pas à l'écoute"},
}};

const std::array<Pieces, 3> kEndings = {{
    {"je recommande", "je reviendrai", "merci encore", "continuez comme ça", "je suis fidèle à la marque"},
    {"peut mieux faire", "à améliorer", "je verrai la prochaine fois", "rien d'exceptionnel"},
    {"je ne recommande pas", "je ne reviendrai pas", "il faut revoir le service client", "c'est dommage",
     "à éviter"},
}};

int ToneOf(RandomSource& random, int satisfaction) {
    // Mostly the tone of the satisfaction, with some respondents who nuance it.
    static constexpr double kToneWeights[5][3] = {
        {0.85, 0.13, 0.02}, {0.55, 0.40, 0.05}, {0.15, 0.65, 0.20}, {0.05, 0.40, 0.55}, {0.02, 0.13, 0.85},
    };
    const int row = satisfaction >= 1 && satisfaction <= 5 ? satisfaction - 1 : 2;
    const std::vector<double> weights(std::begin(kToneWeights[row]), std::end(kToneWeights[row]));
    return static_cast<int>(random.Pick(weights));
}

std::string_view PickFrom(RandomSource& random, const Pieces& pieces) {
    return pieces[static_cast<std::size_t>(random.Below(static_cast<int>(pieces.size())))];
}

} // namespace

std::string OpenAnswerPhrases::ServiceOpinion(RandomSource& random, int satisfaction) {
    const auto tone = static_cast<std::size_t>(ToneOf(random, satisfaction));
    std::string answer(PickFrom(random, kOpenings[tone]));
    const int details = static_cast<int>(random.Pick({0.25, 0.55, 0.20}));
    std::string_view previous;
    for (int i = 0; i < details; ++i) {
        const std::string_view detail = PickFrom(random, kDetails[tone]);
        if (detail == previous)
            continue;
        answer += i == 0 ? (random.Chance(0.5) ? ", " : " : ") : (random.Chance(0.6) ? " et " : ", ");
        answer += detail;
        previous = detail;
    }
    if (random.Chance(0.45)) {
        const bool newSentence = random.Chance(0.7);
        std::string ending(PickFrom(random, kEndings[tone]));
        if (newSentence && ending[0] >= 'a' && ending[0] <= 'z')
            ending[0] = static_cast<char>(ending[0] - 'a' + 'A');
        answer += newSentence ? ". " : ", ";
        answer += ending;
    }
    answer += random.Chance(0.8) ? "." : "";
    return answer;
}

} // namespace qesbuild
