#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CEnquete;
class CModaliteEtendue;
class CQuestionEtendue;

// A recode: the definition of a question derived from another one (modalities grouped into
// sub-totals, values grouped into intervals or discrete values, a question carried to another
// level). This folder only declares the family: the six concrete kinds live with the recodes,
// which register their factory at start-up (EnregistrerFabrique). Until then CreerRecodage makes
// nothing, and a question simply has no recode.
class CRecodage {
public:
    // The type codes, stored in the recode table and given to the factory; they also tell the
    // run-time class of a recode (4 is not used).
    enum Type : std::int16_t {
        kModalite = 0,        // CRecodageModalite: modalities grouped into nested sub-totals
        kLevelModalite = 1,   // CRecodageLevelModalite: closed question carried to another level
        kIntervalle = 2,      // CRecodageIntervalle: values grouped into intervals
        kDiscrete = 3,        // CRecodageDiscrete: values grouped into discrete values
        kLevelNumerique = 5,  // CRecodageLevelNumerique: numeric question carried to another level
        kLevelOpen = 6,       // CRecodageLevelOpen: open question carried to another level
    };

    // What a lookup answers for a value or code that falls in no group.
    static constexpr std::int16_t kNoGroup = -5;

    // Makes a recode of one type for a survey; registered by the recodes at start-up.
    using Fabrique = std::function<std::unique_ptr<CRecodage>(std::int16_t type, CEnquete* survey)>;

    virtual ~CRecodage() = default;

    // A new recode of the type's class bound to the survey; null for 4, for a code outside 0..6
    // and while no factory is registered.
    static std::unique_ptr<CRecodage> CreerRecodage(std::int16_t type, CEnquete* survey);
    // A deep copy of the same class; null for a null recode.
    static std::unique_ptr<CRecodage> Cloner(const CRecodage* recode);
    // Installs the factory of the concrete kinds (null uninstalls); answers the previous one.
    static Fabrique EnregistrerFabrique(Fabrique fabrique);

    // Operations every kind defines.
    virtual std::int16_t GetType() const = 0;
    // Largest number of answers the recoded question has per answer of the source.
    virtual int DonnerNombreReponses(const CQuestionEtendue& source) const = 0;
    // Gives the recoded question its modalities and type; the flag is the source's has-no-answer.
    virtual void Appliquer(CQuestionEtendue& target, bool withNoAnswer) const = 0;
    virtual bool EstApplicable(const CQuestionEtendue& question) const = 0;

    // Operations with a default that the kinds override where they use them.
    virtual void Reinitialiser() {}
    virtual std::int16_t GetSousType() const { return 0; }
    virtual void SetSousType(std::int16_t) {}
    virtual bool GetEstCumule() const { return false; }
    virtual void SetEstCumule(bool) {}
    virtual std::string GetRegroupement(const CQuestionEtendue&) const { return GetRegroupement(); }
    virtual std::string GetRegroupement() const { return {}; }
    virtual void SetRegroupement(const CQuestionEtendue&, const std::string& text) { SetRegroupement(text); }
    virtual void SetRegroupement(const std::string&) {}
    virtual int GetNiveauDepart() const { return 0; }
    virtual void SetNiveauDepart(int) {}
    virtual int GetNiveauArrivee() const { return 0; }
    virtual void SetNiveauArrivee(int) {}
    virtual std::string GetUnite() const { return {}; }
    virtual void SetUnite(const std::string&) {}
    virtual bool GetEstMoins() const { return false; }
    virtual void SetEstMoins(bool) {}
    virtual bool GetEstPlus() const { return false; }
    virtual void SetEstPlus(bool) {}
    virtual bool GetEstEntier() const { return false; }
    virtual void SetEstEntier(bool) {}
    virtual std::int16_t GetDateType() const { return -1; }
    virtual void SetDateType(std::int16_t) {}

    // Appends a copy of each grouped modality the recode builds, in its order; the kinds without
    // groups append nothing. The caller owns the copies.
    virtual void CopyGroups(std::vector<std::unique_ptr<CModaliteEtendue>>& groups) const;

    // Lookups the reading of recoded answers asks of the kinds that group answers; the others
    // keep these defaults (no group).
    // Sub-totals: appends to `groups` the numbers, among the groups of `level` in node order, of
    // every group of that level holding the source modality code; -5 appends nothing.
    virtual void DonnerGroupesDuCode(std::int32_t code, int level, std::vector<std::int16_t>& groups) const;
    // Intervals: the number of classes, and the class holding a value (-5 for none).
    virtual int DonnerNombreClasses() const { return 0; }
    virtual std::int16_t DonnerClasse(double value) const;
    // Discrete values: the number of values, and the index of the value an answer takes (-5 for none).
    virtual int DonnerNombreValeurs() const { return 0; }
    virtual std::int16_t DonnerIndexValeur(double value) const;

    // Deletes the recode's record (key `id`) from the questionnaire database of its survey;
    // false without a survey or when it could not be deleted (the study context's user is told
    // why).
    bool Supprimer() const;

    CEnquete* GetEnquete() const { return m_survey; }

    std::int32_t id = 0;                 // record key; 0 while not stored
    std::int32_t sourceQuestionCode = 0; // the question it recodes
    std::int32_t sourceRecodeCode = 0;   // that question's own recode code, 0 for none
    std::string label;                   // the recoded question's name

protected:
    explicit CRecodage(CEnquete* survey) : m_survey(survey) {}
    CRecodage(const CRecodage&) = default;
    CRecodage& operator=(const CRecodage&) = default;

    // The copy behind Cloner: each kind answers a copy of its own class.
    virtual std::unique_ptr<CRecodage> Clone() const = 0;

private:
    CEnquete* m_survey = nullptr; // not owned
};
