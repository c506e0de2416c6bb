#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "app/Recodage.h"
#include "app/QuestionEtendue.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"

namespace store_test {

// A questionnaire file with two questions; its definitions tables are made by the store.
inline void WriteQuestionnaire(const std::string& path, int version = 404) {
    qesbuild::FixtureDescription fixture = qesbuild::DescriptionParser::Parse(
        "questionnaire \"Store\" language=fr version=" + std::to_string(version) +
            "\n"
            "language 1036 fr \"Français\"\n"
            "question 1 SEXE closed\n  modality 1 fr \"Homme\"\n  modality 2 fr \"Femme\"\n"
            "question 2 AGE numeric\n",
        "store.txt", {});
    qesbuild::WriteFixture(fixture, path);
}

// A recode that keeps what it is given, so that what the stores write and read can be compared.
// Its grouping text names the question it was written or read with, when there was one.
class FakeRecode final : public CRecodage {
public:
    FakeRecode(std::int16_t type, CEnquete* survey) : CRecodage(survey), m_type(type) {}

    std::int16_t GetType() const override { return m_type; }
    int DonnerNombreReponses(const CQuestionEtendue&) const override { return 1; }
    void Appliquer(CQuestionEtendue&, bool) const override {}
    bool EstApplicable(const CQuestionEtendue&) const override { return true; }

    void Reinitialiser() override { ++preparations; }
    std::int16_t GetSousType() const override { return subtype; }
    void SetSousType(std::int16_t value) override { subtype = value; }
    bool GetEstCumule() const override { return cumulative; }
    void SetEstCumule(bool value) override { cumulative = value; }
    std::string GetRegroupement(const CQuestionEtendue& question) const override {
        return "[" + question.name + "]" + grouping;
    }
    std::string GetRegroupement() const override { return grouping; }
    void SetRegroupement(const CQuestionEtendue& question, const std::string& text) override {
        grouping = text;
        groupedWith = question.name;
    }
    void SetRegroupement(const std::string& text) override { grouping = text; }
    int GetNiveauDepart() const override { return sourceLevel; }
    void SetNiveauDepart(int value) override { sourceLevel = value; }
    int GetNiveauArrivee() const override { return targetLevel; }
    void SetNiveauArrivee(int value) override { targetLevel = value; }
    std::string GetUnite() const override { return unit; }
    void SetUnite(const std::string& value) override { unit = value; }
    bool GetEstMoins() const override { return minus; }
    void SetEstMoins(bool value) override { minus = value; }
    bool GetEstPlus() const override { return plus; }
    void SetEstPlus(bool value) override { plus = value; }
    bool GetEstEntier() const override { return whole; }
    void SetEstEntier(bool value) override { whole = value; }
    std::int16_t GetDateType() const override { return dateType; }
    void SetDateType(std::int16_t value) override { dateType = value; }

    std::int16_t subtype = 0;
    bool cumulative = false;
    std::string grouping;
    std::string groupedWith;
    int sourceLevel = 0;
    int targetLevel = 0;
    std::string unit;
    bool minus = false;
    bool plus = false;
    bool whole = false;
    std::int16_t dateType = -1;
    int preparations = 0;

protected:
    std::unique_ptr<CRecodage> Clone() const override { return std::make_unique<FakeRecode>(*this); }

private:
    std::int16_t m_type;
};

// Makes FakeRecode the recode factory for the life of the object.
class FakeRecodeFactory {
public:
    FakeRecodeFactory()
        : m_previous(CRecodage::EnregistrerFabrique([](std::int16_t type, CEnquete* survey) {
              return std::unique_ptr<CRecodage>(std::make_unique<FakeRecode>(type, survey));
          })) {}
    ~FakeRecodeFactory() { CRecodage::EnregistrerFabrique(std::move(m_previous)); }
    FakeRecodeFactory(const FakeRecodeFactory&) = delete;
    FakeRecodeFactory& operator=(const FakeRecodeFactory&) = delete;

private:
    CRecodage::Fabrique m_previous;
};

} // namespace store_test
