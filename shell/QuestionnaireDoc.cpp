#include "shell/QuestionnaireDoc.h"

#include "app/ContexteEtude.h"
#include "framework/DocTemplate.h"
#include "framework/DocumentSource.h"
#include "framework/WinApp.h"

bool CQuestionnaireDoc::OnOpenDocument(const DocumentSource& source) {
    CContexteEtude* context = GetContexte();
    if (context == nullptr || !source.IsPath())
        return false;
    context->questionnairePath = source.GetPath();
    return context->OuvrirEtude();
}

void CQuestionnaireDoc::OnCloseDocument() {
    // Closing may destroy this document: nothing of it is used after the base's call.
    CContexteEtude* context = GetContexte();
    CDocument::OnCloseDocument();
    if (context != nullptr)
        context->FermerEtude();
}

bool CQuestionnaireDoc::CanCloseFrame(CMDIChildWnd& /*frame*/) {
    CWinApp* application = GetDocTemplate() != nullptr ? GetDocTemplate()->GetApp() : nullptr;
    return application == nullptr || application->SaveAllModified();
}
