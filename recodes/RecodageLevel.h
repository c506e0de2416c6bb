#pragma once

#include <cstdint>

#include "app/Recodage.h"

// A question carried from its level (its source level) to another level of the questionnaire
// (the target level): the answers of the records linked to each target record are gathered
// into one answer by a method. The data access gathers them; the recode names the two levels,
// the method and the kind of question it carries.
class CRecodageLevel : public CRecodage {
public:
    ~CRecodageLevel() override = default;

    // Whether the question is of the kind's source kind and sits at the source level.
    bool EstApplicable(const CQuestionEtendue& question) const override;
    // Sets the kind's question type, the has-no-answer flag and the target level; the
    // modalities copied from the source stay.
    void Appliquer(CQuestionEtendue& target, bool withNoAnswer) const override;
    // The method.
    std::int16_t GetSousType() const override { return m_methode; }
    void SetSousType(std::int16_t method) override { m_methode = method; }
    int GetNiveauDepart() const override { return m_niveauDepart; }
    void SetNiveauDepart(int level) override { m_niveauDepart = level; }
    int GetNiveauArrivee() const override { return m_niveauArrivee; }
    void SetNiveauArrivee(int level) override { m_niveauArrivee = level; }

protected:
    explicit CRecodageLevel(CEnquete* survey) : CRecodage(survey) {}
    CRecodageLevel(const CRecodageLevel&) = default;
    CRecodageLevel& operator=(const CRecodageLevel&) = delete;

    // The kind's source questions, and the type its recoded question takes.
    virtual bool IsSourceKind(const CQuestionEtendue& question) const = 0;
    virtual std::int16_t RecodedType() const = 0;

private:
    std::int32_t m_niveauDepart = 0;
    std::int32_t m_niveauArrivee = 0;
    std::int16_t m_methode = 0;
};
