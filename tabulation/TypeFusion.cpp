#include "tabulation/TypeFusion.h"

#include "app/Registre.h"
#include "platform/questionnaire/ArchiveVersion.h"

CTypeFusion::CTypeFusion() { CRegistre::ReadTypeFusion(*this); }

void CTypeFusion::Serialize(CArchiveVersion& archive) {
    if (archive.IsStoring()) {
        archive << Type << EstTableauParLigne << EstTableauParColonne << EstLibelleTraitement << EstVersDossier
                << IsEmptyLinePerQuestion;
        return;
    }
    CTypeFusion loaded{BuiltIn{}};
    archive >> loaded.Type >> loaded.EstTableauParLigne >> loaded.EstTableauParColonne >>
        loaded.EstLibelleTraitement >> loaded.EstVersDossier >> loaded.IsEmptyLinePerQuestion;
    if (loaded.IsEmptyLinePerQuestion != 0)
        loaded.IsEmptyLinePerQuestion = 1;
    *this = loaded;
}

bool CTypeFusion::operator==(const CTypeFusion& other) const {
    return Type == other.Type && EstTableauParLigne == other.EstTableauParLigne &&
           EstTableauParColonne == other.EstTableauParColonne &&
           EstLibelleTraitement == other.EstLibelleTraitement && EstVersDossier == other.EstVersDossier &&
           IsEmptyLinePerQuestion == other.IsEmptyLinePerQuestion;
}
