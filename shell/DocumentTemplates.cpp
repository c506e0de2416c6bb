#include "shell/DocumentTemplates.h"

#include "framework/MultiDocTemplate.h"
#include "gui/openanswers/OuvConcordanceDoc.h"
#include "gui/openanswers/OuvConcordanceView.h"
#include "gui/openanswers/OuvDictionnaireDoc.h"
#include "gui/openanswers/OuvDictionnaireView.h"
#include "gui/presentation/GraphDoc.h"
#include "gui/presentation/GraphView.h"
#include "gui/presentation/MappingDoc.h"
#include "gui/presentation/MappingView.h"
#include "shell/ChildFrame.h"
#include "shell/DossierDoc.h"
#include "shell/DossierView.h"
#include "shell/QuestionDoc.h"
#include "shell/QuestionView.h"
#include "shell/QuestionnaireDoc.h"
#include "shell/QuestionnaireView.h"
#include "shell/UnavailableDocument.h"
#include "shell/UnavailableView.h"
#include "gui/statistics/MorvaneDirecteDoc.h"
#include "gui/statistics/MorvaneDirecteView.h"
#include "gui/statistics/MorvaneFactorielleDoc.h"
#include "gui/statistics/MorvaneFactorielleView.h"
#include "gui/tabulation/TableauDoc.h"
#include "gui/tabulation/TableauView.h"

#include <algorithm>
#include <string>

namespace DocumentTemplates {
namespace {

std::unique_ptr<CMDIChildWnd> MakeChildFrame() {
    return std::make_unique<CChildFrame>();
}

template <class Document, class View> std::unique_ptr<CMultiDocTemplate> Make(int resourceId) {
    return CMultiDocTemplate::Create<Document, View>(resourceId, &MakeChildFrame);
}

// A new portfolio is titled "Dossier1", "Dossier2"... until it is saved.
std::unique_ptr<CMultiDocTemplate> MakePortfolio(int resourceId) {
    return CMultiDocTemplate::Create<CDossierDoc, CDossierView>(resourceId, &MakeChildFrame, QStringLiteral("Dossier"));
}

using K = TemplateKind;

// clang-format off
constexpr Definition kDefinitions[] = {
    {K::kQuestionnaire,       kDocumentResource,  "Questionnaire",                                 &Make<CQuestionnaireDoc, CQuestionnaireView>},
    {K::kTableau,             kDocumentResource,  "Tableau",                                       &Make<CTableauDoc, CTableauView>},
    {K::kGraphique,           kDocumentResource,  "Graphique",                                     &Make<CGraphDoc, CGraphView>},
    {K::kDossier,             kPortfolioResource, "Dossier",                                       &MakePortfolio},
    {K::kOuvDictionnaire,     kDocumentResource,  "Dictionnaire des réponses ouvertes",            &Make<COuvDictionnaireDoc, COuvDictionnaireView>},
    {K::kOuvSegment,          kDocumentResource,  "Segments répétés",                              nullptr},
    {K::kOuvFormeSpecifique,  kDocumentResource,  "Spécificités (formes)",                         nullptr},
    {K::kOuvSpeSegment,       kDocumentResource,  "Spécificités (segments répétés)",               nullptr},
    {K::kOuvCaracteristique,  kDocumentResource,  "Réponses caractéristiques",                     nullptr},
    {K::kOuvCorrespondance,   kDocumentResource,  "Analyse des correspondances des réponses ouvertes", nullptr},
    {K::kMapping,             kDocumentResource,  "Carte factorielle",                             &Make<CMappingDoc, CMappingView>},
    {K::kTypologie,           kDocumentResource,  "Typologie",                                     nullptr},
    {K::kClassification,      kDocumentResource,  "Classification hiérarchique",                   nullptr},
    {K::kDendogramme,         kDocumentResource,  "Dendrogramme",                                  nullptr},
    {K::kOuvConcordance,      kDocumentResource,  "Concordance",                                   &Make<COuvConcordanceDoc, COuvConcordanceView>},
    {K::kMorvaneFactorielle,  kDocumentResource,  "Analyse factorielle",                           &Make<CMorvaneFactorielleDoc, CMorvaneFactorielleView>},
    {K::kQuestion,            kDocumentResource,  "Question",                                      &Make<CQuestionDoc, CQuestionView>},
    {K::kMorvaneDirecte,      kDocumentResource,  "Analyse d'un tableau",                          &Make<CMorvaneDirecteDoc, CMorvaneDirecteView>},
    {K::kOuvTypologie,        kDocumentResource,  "Typologie des réponses ouvertes",               nullptr},
    {K::kTstIndependance,     kDocumentResource,  "Test d'indépendance",                           nullptr},
    {K::kRlm,                 kDocumentResource,  "Régression linéaire multiple",                  nullptr},
    {K::kTrisSignificatifs,   kDocumentResource,  "Tableaux croisés significatifs",                nullptr},
};
// clang-format on

static_assert(std::size(kDefinitions) == static_cast<std::size_t>(TemplateKind::kCount),
              "one template per kind of window");

} // namespace

std::span<const Definition> InCreationOrder() {
    return kDefinitions;
}

std::unique_ptr<CMultiDocTemplate> Create(const Definition& definition) {
    if (definition.make != nullptr)
        return definition.make(definition.resourceId);
    const std::string name = definition.windowName;
    return std::make_unique<CMultiDocTemplate>(
        definition.resourceId, [name] { return std::unique_ptr<CDocument>(std::make_unique<UnavailableDocument>(name)); },
        [] { return std::unique_ptr<CView>(std::make_unique<UnavailableView>()); }, &MakeChildFrame);
}

bool IsAvailable(TemplateKind kind) {
    const auto found = std::find_if(std::begin(kDefinitions), std::end(kDefinitions),
                                    [kind](const Definition& definition) { return definition.kind == kind; });
    return found != std::end(kDefinitions) && found->make != nullptr;
}

} // namespace DocumentTemplates
