#include "app/Calcul.h"

#include <utility>

#include "platform/questionnaire/ArchiveVersion.h"

CCalcul::CCalcul(std::int32_t calculationCode, std::string text, bool selected) : CLigne(std::move(text)) {
    code = calculationCode;
    kept = selected ? 1 : 0;
}

void CCalcul::Serialize(CArchiveVersion& archive) {
    if (archive.IsStoring()) {
        StoreLine(archive);
        return;
    }
    CCalcul loaded;
    loaded.LoadLine(archive);
    *this = loaded;
}

void CCalcul::StoreLine(CArchiveVersion& archive) const {
    archive << code << label << kept << bold << italic << underline << shadow;
}

void CCalcul::LoadLine(CArchiveVersion& archive) {
    archive >> code >> label >> kept >> bold >> italic >> underline >> shadow;
    heading = 0;
    fromModality = 0;
}
