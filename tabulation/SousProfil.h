#pragma once

#include <memory>
#include <vector>

#include "app/ModaliteEtendue.h"
#include "platform/questionnaire/Objet.h"

class CQuestionEtendue;

// One line of a profile: a question with copies of the modalities chosen in it, a question alone
// (numeric and open-question profiles), or a separator (no question). The question belongs to
// the survey; the modality copies belong to the line.
class CSousProfil : public CObjet {
public:
    static constexpr RuntimeClass kRuntimeClass{"CSousProfil", 1, &CObjet::CreateObject<CSousProfil>};

    // A separator.
    CSousProfil() = default;
    // The question with a copy of every modality given (null ones skipped).
    CSousProfil(CQuestionEtendue* question, const std::vector<std::unique_ptr<CModaliteEtendue>>& modalities);
    // The question without modality; null makes a separator.
    explicit CSousProfil(CQuestionEtendue* question) : m_question(question) {}
    // The same question and new copies of the modalities.
    CSousProfil(const CSousProfil& other);
    CSousProfil& operator=(const CSousProfil& other);
    ~CSousProfil() override;

    const RuntimeClass* GetRuntimeClass() const override { return &kRuntimeClass; }

    CQuestionEtendue* GetQuestion() const { return m_question; }
    bool IsSeparator() const { return m_question == nullptr; }
    // Replaces the caller's array by copies of the line's modalities.
    void GetModalites(std::vector<std::unique_ptr<CModaliteEtendue>>& out) const;
    // The line's own modalities, to read without copying.
    const std::vector<std::unique_ptr<CModaliteEtendue>>& Modalites() const { return m_modalities; }
    int GetNbreModalites() const { return static_cast<int>(m_modalities.size()); }

    // Copies of the modalities given, null ones skipped.
    static std::vector<std::unique_ptr<CModaliteEtendue>> CopierModalites(
        const std::vector<std::unique_ptr<CModaliteEtendue>>& modalities);

private:
    CQuestionEtendue* m_question = nullptr; // not owned; null for a separator
    std::vector<std::unique_ptr<CModaliteEtendue>> m_modalities;
};
