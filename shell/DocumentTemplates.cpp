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
#include "gui/openanswers/OuvCaracteristiqueView.h"
#include "gui/openanswers/OuvCorpusDoc.h"
#include "gui/openanswers/OuvCorrespondanceView.h"
#include "gui/openanswers/OuvFormeSurRepresenteeView.h"
#include "gui/openanswers/OuvSegmentView.h"
#include "gui/openanswers/OuvSpeSegmentView.h"
#include "gui/openanswers/OuvTypologieView.h"
#include "gui/statistics/MorvaneDirecteDoc.h"
#include "gui/statistics/MorvaneDirecteView.h"
#include "gui/statistics/MorvaneFactorielleDoc.h"
#include "gui/statistics/MorvaneFactorielleView.h"
#include "gui/statistics/RlmView.h"
#include "gui/statistics/TrisSignificatifsView.h"
#include "gui/statistics/TstIndependanceDoc.h"
#include "gui/statistics/TstIndependanceView.h"
#include "gui/statistics/ClassificationView.h"
#include "gui/statistics/DendogrammeDoc.h"
#include "gui/statistics/DendogrammeView.h"
#include "gui/statistics/TypologieView.h"
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
    {K::kOuvSegment,          kDocumentResource,  "Segments répétés",                              &Make<COuvCorpusDoc, COuvSegmentView>},
    {K::kOuvFormeSpecifique,  kDocumentResource,  "Spécificités (formes)",                         &Make<COuvCorpusDoc, COuvFormeSurRepresenteeView>},
    {K::kOuvSpeSegment,       kDocumentResource,  "Spécificités (segments répétés)",               &Make<COuvCorpusDoc, COuvSpeSegmentView>},
    {K::kOuvCaracteristique,  kDocumentResource,  "Réponses caractéristiques",                     &Make<COuvCorpusDoc, COuvCaracteristiqueView>},
    {K::kOuvCorrespondance,   kDocumentResource,  "AFC des réponses ouvertes",                     &Make<COuvCorpusDoc, COuvCorrespondanceView>},
    {K::kMapping,             kDocumentResource,  "Carte factorielle",                             &Make<CMappingDoc, CMappingView>},
    {K::kTypologie,           kDocumentResource,  "Typologie",                                     &Make<CMorvaneFactorielleDoc, CTypologieView>},
    {K::kClassification,      kDocumentResource,  "Classification hiérarchique",                   &Make<CMorvaneFactorielleDoc, CClassificationView>},
    {K::kDendogramme,         kDocumentResource,  "Dendrogramme",                                  &Make<CDendogrammeDoc, CDendogrammeView>},
    {K::kOuvConcordance,      kDocumentResource,  "Concordance",                                   &Make<COuvConcordanceDoc, COuvConcordanceView>},
    {K::kMorvaneFactorielle,  kDocumentResource,  "Analyse factorielle",                           &Make<CMorvaneFactorielleDoc, CMorvaneFactorielleView>},
    {K::kQuestion,            kDocumentResource,  "Question",                                      &Make<CQuestionDoc, CQuestionView>},
    {K::kMorvaneDirecte,      kDocumentResource,  "Analyse d'un tableau",                          &Make<CMorvaneDirecteDoc, CMorvaneDirecteView>},
    {K::kOuvTypologie,        kDocumentResource,  "Typologie des réponses ouvertes",               &Make<COuvCorpusDoc, COuvTypologieView>},
    {K::kTstIndependance,     kDocumentResource,  "Test d'indépendance",                           &Make<CTstIndependanceDoc, CTstIndependanceView>},
    {K::kRlm,                 kDocumentResource,  "Régression linéaire multiple",                  &Make<CMorvaneFactorielleDoc, CRlmView>},
    {K::kTrisSignificatifs,   kDocumentResource,  "Tableaux croisés significatifs",                &Make<CMorvaneFactorielleDoc, CTrisSignificatifsView>},
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
