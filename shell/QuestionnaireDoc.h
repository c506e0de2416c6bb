#pragma once

#include "framework/Document.h"

// The document of the questionnaire window. It holds nothing itself: opening it opens the survey
// in the study context, and closing it closes the survey with every other window.
class CQuestionnaireDoc : public CDocument {
public:
    // A path becomes the context's questionnaire path; the study context then opens it. False
    // (with the reason already shown) when the survey cannot be opened, and for any other source.
    bool OnOpenDocument(const DocumentSource& source) override;
    // The window goes, then the survey is closed.
    void OnCloseDocument() override;
    // The survey's windows all close with it: the application asks each document to save first.
    bool CanCloseFrame(CMDIChildWnd& frame) override;
};
