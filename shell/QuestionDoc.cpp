#include "shell/QuestionDoc.h"

#include "app/QuestionEtendue.h"
#include "framework/DocumentSource.h"
#include "framework/DocumentTitle.h"

bool CQuestionDoc::OnOpenDocument(const DocumentSource& source) {
    CQuestionEtendue* question = source.GetObject<CQuestionEtendue>();
    if (question == nullptr)
        return false;
    m_question = question;
    SetTitle(DocumentTitle::FromText(question->GetCaption()));
    return true;
}

void CQuestionDoc::SetPathName(const std::string& /*path*/) {}
