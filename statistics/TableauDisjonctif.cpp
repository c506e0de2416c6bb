#include "statistics/TableauDisjonctif.h"

#include <cstddef>

#include "app/DataAccess.h"
#include "app/MatriceCodes.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "tabulation/Profil.h"

namespace {

struct ProfileColumns {
    CQuestionEtendue* question;
    std::vector<int> modalityIndexes; // index in the question of each selected modality, by column
    int firstColumn;
};

std::string Label(const CQuestionEtendue& question, const CModaliteEtendue& modality, bool prefix) {
    return prefix ? question.GetCaption() + ":" + modality.GetShortCaption() : modality.GetShortCaption();
}

void ListColumns(const CProfil& profile, bool prefix, std::vector<ProfileColumns>& lines, std::vector<std::string>& labels) {
    for (int l = 0; l < profile.GetCount(); ++l) {
        const CSousProfil* line = profile.GetSousProfil(l);
        if (line == nullptr || line->IsSeparator())
            continue;
        ProfileColumns columns{line->GetQuestion(), {}, static_cast<int>(labels.size())};
        for (const auto& modality : line->Modalites()) {
            columns.modalityIndexes.push_back(columns.question->TrouverModalite(modality->code));
            labels.push_back(Label(*columns.question, *modality, prefix));
        }
        lines.push_back(std::move(columns));
    }
}

} // namespace

bool ConstruireTableauDisjonctif(CDataAccess& access, TableauDisjonctif& tableau,
                                 const std::vector<std::int32_t>& interviewsActives,
                                 const std::vector<std::int32_t>& interviewsIllustratives, const CProfil& profilActif,
                                 const CProfil& profilIllustratif, bool prefixer, int niveau) {
    TableauDisjonctif built;
    std::vector<ProfileColumns> lines;
    ListColumns(profilActif, prefixer, lines, built.libellesColonnes);
    built.colonnesActives = static_cast<int>(built.libellesColonnes.size());
    ListColumns(profilIllustratif, prefixer, lines, built.libellesColonnes);
    built.colonnesIllustratives = static_cast<int>(built.libellesColonnes.size()) - built.colonnesActives;
    built.interviews = interviewsActives;
    built.interviews.insert(built.interviews.end(), interviewsIllustratives.begin(), interviewsIllustratives.end());
    built.lignesActives = static_cast<int>(interviewsActives.size());
    built.lignesIllustratives = static_cast<int>(interviewsIllustratives.size());
    const std::size_t width = built.libellesColonnes.size();
    built.cellules.assign(built.interviews.size() * width, 0);

    for (const ProfileColumns& line : lines) {
        CMatriceCodes codes;
        if (!access.LireReponsesFermeesNiveau(*line.question, niveau, codes))
            return false;
        const int slots = codes.GetNbColonnes();
        const int modalityCount = line.question->GetNbreModalite();
        for (std::size_t row = 0; row < built.interviews.size(); ++row) {
            const std::int32_t interview = built.interviews[row];
            if (interview < 0 || interview >= codes.GetNbLignes())
                return false;
            for (int slot = 0; slot < slots; ++slot) {
                // Only the positions of the question's modalities are answers: no answer, not
                // asked or a code the question lacks names no column, not even that of a
                // modality the profile holds and the question does not.
                const std::int16_t code = codes.GetAt(interview, slot);
                if (code < 0 || code >= modalityCount)
                    continue;
                for (std::size_t c = 0; c < line.modalityIndexes.size(); ++c)
                    if (line.modalityIndexes[c] == code)
                        built.cellules[row * width + static_cast<std::size_t>(line.firstColumn) + c] = 1;
            }
        }
    }
    tableau = std::move(built);
    return true;
}
