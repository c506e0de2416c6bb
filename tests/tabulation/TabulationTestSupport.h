#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/ChampEtude.h"
#include "app/ContexteEtude.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/Redressement.h"
#include "platform/questionnaire/ArchiveException.h"
#include "platform/questionnaire/ArchiveVersion.h"
#include "support/SettingsFixture.h"
#include "tabulation/EnregistrerClassesTabulation.h"

namespace tabulation_test {

constexpr std::int32_t kFrench = 1036;
using Bytes = std::vector<std::uint8_t>;

// A study context registered as the program's, in French, with the archived classes registered
// and a settings store of its own. Its levels, study fields, weightings and questions are built
// by the test.
class TabulationFixture : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        EnregistrerClassesTabulation();
        survey.languages = {CLanguage(kFrench, "Français")};
        survey.questionnaireLanguage = kFrench;
        survey.currentLanguage = kFrench;
        CContexteEtude::RegisterContext(&survey);
    }
    void TearDown() override {
        CContexteEtude::RegisterContext(nullptr);
        SettingsFixture::TearDown();
    }

    CQuestionNiveau& AddLevel(std::int32_t code, const std::string& name) {
        auto level = std::make_unique<CQuestionNiveau>(&survey);
        level->code = code;
        level->kind = 2;
        level->depth = static_cast<std::int16_t>(survey.levels.size());
        level->name = name;
        survey.levels.push_back(std::move(level));
        return *survey.levels.back();
    }

    void AddStudyField(std::int32_t id, const std::string& name) {
        CChampEtude field;
        field.id = id;
        field.name = name;
        survey.MettreAJourChampEtude(field);
    }

    void AddWeighting(std::int32_t id, const std::string& name) {
        CRedressement weighting;
        weighting.id = id;
        weighting.name = name;
        survey.MettreAJourRedressement(weighting);
    }

    // A closed question whose modalities have these codes, captioned "M<code>"; loop keys and a
    // recode code when given.
    CQuestionEtendue& AddClosedQuestion(std::int32_t code, std::initializer_list<std::int32_t> codes,
                                        std::vector<std::int32_t> keys = {}, std::int32_t recode = 0) {
        auto question = std::make_unique<CQuestionEtendue>(&survey);
        question->code = code;
        question->name = "Q" + std::to_string(code);
        question->type = 1;
        question->values = std::move(keys);
        question->recodeId = recode;
        for (std::int32_t modalityCode : codes) {
            auto modality = std::make_unique<CModaliteEtendue>(&survey);
            modality->code = modalityCode;
            modality->SetLocalisedShortCaption(kFrench, "M" + std::to_string(modalityCode));
            question->AddModalite(std::move(modality));
        }
        survey.questions.push_back(std::move(question));
        return *survey.questions.back();
    }

    // A question of that type without modality (5 free numeric, 4 open...).
    CQuestionEtendue& AddQuestionOfType(std::int32_t code, std::int16_t type) {
        auto question = std::make_unique<CQuestionEtendue>(&survey);
        question->code = code;
        question->name = "Q" + std::to_string(code);
        question->type = type;
        survey.questions.push_back(std::move(question));
        return *survey.questions.back();
    }

    CContexteEtude survey;
};

// Stores the object with its Serialize into a new archive of that version and answers the bytes.
template <class T> Bytes Stored(T& object, int version) {
    CArchiveVersion out(version);
    object.Serialize(out);
    return out.TakeBytes();
}

// Loads the object from the bytes; the archive must then be at its end.
template <class T> void Load(T& object, const Bytes& bytes, int version) {
    CArchiveVersion in(bytes, version);
    object.Serialize(in);
    EXPECT_TRUE(in.IsAtEnd());
}

// Every proper prefix of the bytes fails to load with an ArchiveException and leaves the object
// that tried as it was (compared through what it stores).
template <class T, class Make> void ExpectEveryCutFails(const Bytes& whole, int version, Make make) {
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        SCOPED_TRACE(testing::Message() << "cut at " << cut << " of " << whole.size());
        T target = make();
        const Bytes before = Stored(target, version);
        CArchiveVersion in(Bytes(whole.begin(), whole.begin() + static_cast<long>(cut)), version);
        EXPECT_THROW(target.Serialize(in), ArchiveException);
        EXPECT_EQ(Stored(target, version), before);
    }
}

// Little-endian bytes of archive values, to write expected layouts by hand.
inline void Put16(Bytes& bytes, std::uint16_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}
inline void Put32(Bytes& bytes, std::uint32_t value) {
    Put16(bytes, static_cast<std::uint16_t>(value & 0xFFFF));
    Put16(bytes, static_cast<std::uint16_t>(value >> 16));
}
// A string in the archive's Unicode form (UTF-8 text of the basic plane, shorter than 255 code
// units), written by hand: 0xFF, 0xFFFE, the length, then UTF-16LE.
inline void PutString(Bytes& bytes, const std::string& text) {
    std::vector<std::uint16_t> units;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<std::uint8_t>(text[i]);
        const auto next = [&text, &i](std::size_t k) { return static_cast<std::uint8_t>(text[i + k]) & 0x3Fu; };
        if (lead < 0x80) {
            units.push_back(lead);
            i += 1;
        } else if (lead < 0xE0) {
            units.push_back(static_cast<std::uint16_t>(((lead & 0x1Fu) << 6) | next(1)));
            i += 2;
        } else {
            units.push_back(static_cast<std::uint16_t>(((lead & 0x0Fu) << 12) | (next(1) << 6) | next(2)));
            i += 3;
        }
    }
    bytes.push_back(0xFF);
    Put16(bytes, 0xFFFE);
    bytes.push_back(static_cast<std::uint8_t>(units.size()));
    for (std::uint16_t unit : units)
        Put16(bytes, unit);
}

} // namespace tabulation_test
