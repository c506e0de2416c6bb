#pragma once

#include <cstddef>
#include <memory>
#include <span>

class CMultiDocTemplate;

// Every kind of window of the program, one document template each, in the order the application
// keeps them.
enum class TemplateKind : std::size_t {
    kQuestionnaire,
    kQuestion,
    kTableau,
    kGraphique,
    kDossier,
    kOuvDictionnaire,
    kOuvSegment,
    kOuvFormeSpecifique,
    kOuvCaracteristique,
    kOuvCorrespondance,
    kOuvConcordance,
    kOuvTypologie,
    kMapping,
    kOuvSpeSegment,
    kTypologie,
    kClassification,
    kDendogramme,
    kMorvaneFactorielle,
    kMorvaneDirecte,
    kTstIndependance,
    kRlm,
    kTrisSignificatifs,
    kCount
};

// The document templates of the program: which document and view each kind of window pairs, with
// its menu resource, in the order they are created at start-up.
namespace DocumentTemplates {

constexpr int kDocumentResource = 129;
constexpr int kPortfolioResource = 165;

struct Definition {
    TemplateKind kind;
    int resourceId;
    // The window's name as the user knows it, told when the window is not available yet.
    const char* windowName;
    // Makes the template of a window the program has; null for a window still to come, whose
    // template refuses every opening.
    std::unique_ptr<CMultiDocTemplate> (*make)(int resourceId);
};

std::span<const Definition> InCreationOrder();

// The template of the definition, its windows framed by the program's child frame.
std::unique_ptr<CMultiDocTemplate> Create(const Definition& definition);

// Whether the program has the window of that kind yet.
bool IsAvailable(TemplateKind kind);

} // namespace DocumentTemplates
