#include "gui/statistics/TstIndependanceDoc.h"

#include "framework/DocumentSource.h"

bool CTstIndependanceDoc::OnOpenDocument(const DocumentSource& source) {
    const Questions* questions = source.GetObject<const Questions>();
    if (questions == nullptr || questions->ligne == nullptr || questions->colonne == nullptr)
        return false;
    m_questions = *questions;
    SetTitle(QStringLiteral("Test d'indépendance"));
    return true;
}
