#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "openanswers/EnregistrerOuvertes.h"
#include "openanswers/LexicalCacheFiles.h"
#include "openanswers/OuvCorpus.h"
#include "support/FixtureStudyTest.h"

// A survey of one open question AVIS and one closed question GROUPE of three categories
// ("Un", "Deux", "Trois"), written from the answers and categories a test gives (a category of
// 0 leaves GROUPE unanswered).
class OpenAnswersTest : public FixtureStudyTest {
protected:
    void SetUp() override {
        FixtureStudyTest::SetUp();
        EnregistrerOuvertes();
    }

    static std::string Quoted(const std::string& text) {
        std::string quoted = "\"";
        for (const char c : text) {
            quoted += c;
            if (c == '"')
                quoted += '"';
        }
        return quoted + "\"";
    }

    static std::string Description(const std::vector<std::string>& answers, const std::vector<int>& categories) {
        std::string text = "questionnaire \"Avis\" language=fr\n"
                           "language 1036 fr \"Français\"\n"
                           "question 1 AVIS open\n"
                           "  caption fr \"Votre avis\"\n"
                           "question 2 GROUPE closed\n"
                           "  caption fr \"Groupe\"\n"
                           "  modality 1 fr \"Un\"\n"
                           "  modality 2 fr \"Deux\"\n"
                           "  modality 3 fr \"Trois\"\n"
                           "records\n"
                           "Cle1,1;1,2;1\n";
        for (std::size_t i = 0; i < answers.size(); ++i) {
            const int category = i < categories.size() ? categories[i] : 1;
            text += std::to_string(i + 1) + "," + Quoted(answers[i]) + "," +
                    (category > 0 ? std::to_string(category) : std::string()) + "\n";
        }
        return text + "end\n";
    }

    void OpenAnswers(const std::vector<std::string>& answers, const std::vector<int>& categories = {}) {
        OpenFixture(Description(answers, categories).c_str(), "avis");
    }

    // A new engine on AVIS, opened.
    std::unique_ptr<COuvCorpus> Corpus() {
        auto corpus = std::make_unique<COuvCorpus>(context, Named("AVIS"));
        EXPECT_TRUE(corpus->Ouvrir()) << corpus->GetErreur().id;
        return corpus;
    }

    std::filesystem::path CacheFile(const char* prefix) {
        return std::filesystem::path(context.DonnerRepertoireInversion()) / LexicalCacheFiles::Nom(prefix, Named("AVIS"));
    }

    std::vector<std::uint8_t> FileBytes(const char* prefix) {
        std::ifstream file(CacheFile(prefix), std::ios::binary);
        return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    void WriteBytes(const char* prefix, const std::vector<std::uint8_t>& bytes) {
        std::ofstream file(CacheFile(prefix), std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    // The texts of the valid entries in table order, each with its frequency.
    static std::vector<std::pair<std::string, int>> Entries(const COuvCorpus& corpus) {
        std::vector<std::pair<std::string, int>> entries;
        for (int i = 0; i < corpus.GetNbreFormes(); ++i)
            if (corpus.DonnerForme(i)->valid == 1)
                entries.emplace_back(corpus.DonnerForme(i)->text, corpus.DonnerForme(i)->frequency);
        return entries;
    }

    static std::vector<std::string> SegmentTexts(const COuvCorpus& corpus) {
        std::vector<std::string> texts;
        for (int s = 0; s < corpus.GetNbreSegments(); ++s)
            texts.push_back(corpus.DonnerSegment(s)->text);
        return texts;
    }
};
