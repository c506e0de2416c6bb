#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "LoaderTestSupport.h"
#include "SurveyTestSupport.h"
#include "app/Crc32c.h"
#include "app/Enquete.h"
#include "app/InvertedFilesFingerprint.h"
#include "support/RecordingUserInterface.h"

namespace inversion_test {

constexpr double kNotAsked = -888888.88;
constexpr double kNoAnswer = -999999.99;

// Four interviews; a loop over products (its questions also expanded per product) with a loop
// over moments nested in it (expanded per product and moment), and a loop over household members
// counted by a number. Member (3, 1) has a household, moment (5, 1, 1) has none.
//
// Modalities with the loader's additions: SEXE 1, 2, -1, -2; MARQUES 1, 2, 3, -2; NOTE 1, 2, -1,
// -2; ENVIE 1, 2, -2.
constexpr const char* kLoops = R"(
questionnaire "Boucles" language=fr
language 1036 fr "Français"
question 1 SEXE closed noanswer
  modality 1 fr "Homme"
  modality 2 fr "Femme"
question 2 AGE numeric
question 3 AVIS open
question 4 MARQUES closed answers=3
  modality 1 fr "A"
  modality 2 fr "B"
  modality 3 fr "C"
loop 600 PRODUITS expand
  modality 1 fr "Pain"
  modality 2 fr "Lait"
  question 61 NOTE closed noanswer
    modality 1 fr "Bien"
    modality 2 fr "Mal"
  question 62 PRIX numeric
  loop 700 MOMENTS expand
    modality 1 fr "Matin"
    modality 2 fr "Soir"
    question 71 ENVIE closed
      modality 1 fr "Oui"
      modality 2 fr "Non"
  end
end
loop 500 MEMBRES count=3
  question 51 PRENOM open
  question 52 AGEM numeric
end
records
Cle1,1;1,2;1,3;1,4;1,4;2,4;3
1,1,34,"bien",1,3,
2,2,51,,2,,
3,-2,,"moyen",,,
4,1,27,"",3,1,2
end
records loop=600
Cle1,Cle2,Ordre,61;1,62;1
1,1,1,1,2.5
1,2,2,2,1.2
2,2,1,-2,
4,1,1,1,3.0
4,2,2,2,0.9
end
records loop=700
Cle1,Cle2,Cle3,Ordre,71;1
1,1,1,1,1
1,1,2,2,2
1,2,2,1,1
4,2,1,1,2
5,1,1,1,1
end
records loop=500
Cle1,Cle2,Ordre,51;1,52;1
1,1,1,"Paul",34
1,2,2,"Léa",6
2,1,1,"Anne",
3,1,1,"Marc",44
4,1,1,"Zoé",27
end
)";

inline std::vector<std::uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The little-endian bytes of values, as a file holds them.
inline void PutInt32(std::vector<std::uint8_t>& bytes, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}
inline void PutCell(std::vector<std::uint8_t>& bytes, std::int16_t value) {
    const auto bits = static_cast<std::uint16_t>(value);
    bytes.push_back(static_cast<std::uint8_t>(bits & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(bits >> 8));
}
inline void PutDouble(std::vector<std::uint8_t>& bytes, double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 8; ++i)
        bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

inline void PutUInt64(std::vector<std::uint8_t>& bytes, std::uint64_t value) {
    for (int i = 0; i < 8; ++i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// The record laid out as the first version of "Empreintes.dat" was: version 1, and per file only
// its name, size and checksum (no count of the answers that named no modality); sealed with its
// checksum like any record.
inline std::vector<std::uint8_t> FirstVersionFingerprint(const InvertedFilesFingerprint::Record& record) {
    std::vector<std::uint8_t> bytes = {'M', 'V', 'F', 'P'};
    PutInt32(bytes, 1);
    PutUInt64(bytes, record.questionnaireSize);
    PutUInt64(bytes, static_cast<std::uint64_t>(record.questionnaireModified));
    PutInt32(bytes, static_cast<std::int32_t>(record.files.size()));
    for (const auto& [name, entry] : record.files) {
        bytes.push_back(static_cast<std::uint8_t>(name.size() & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(name.size() >> 8));
        bytes.insert(bytes.end(), name.begin(), name.end());
        PutUInt64(bytes, entry.size);
        PutInt32(bytes, static_cast<std::int32_t>(entry.checksum));
    }
    PutInt32(bytes, static_cast<std::int32_t>(Crc32c::Of(bytes.data(), bytes.size())));
    return bytes;
}

// Records the file in the survey's fingerprint as the program records the files it writes, so
// that the readers judge the file by its content.
inline void RecordAsWritten(CEnquete& survey, const std::string& path) {
    const std::vector<std::uint8_t> bytes = FileBytes(path);
    std::string error;
    const InvertedFilesFingerprint::Entry entry{bytes.size(), Crc32c::Of(bytes.data(), bytes.size())};
    ASSERT_TRUE(survey.GetInvertedFilesFingerprint().Refresh(
        {{std::filesystem::path(path).filename().string(), entry}}, error))
        << error;
}

// The survey of a fixture written into a folder of its own: "<name>.qes" and its "<name>.dat".
class FixtureSurvey {
public:
    FixtureSurvey(const char* description, const std::string& name) {
        survey.basePath = folder.Sub(name + ".qes");
        survey.invertedFolder = folder.Sub(name + ".dat");
        survey_test::WriteFixtureText(description, folder.Path(), survey.basePath);
    }
    // A survey opened on an existing questionnaire file; the file is not removed.
    explicit FixtureSurvey(const std::string& path) {
        survey.basePath = path;
        survey.invertedFolder = path.substr(0, path.size() - 3) + "dat";
    }

    bool Open() {
        const bool opened = survey.Ouvrir();
        EXPECT_TRUE(opened) << survey.GetLastError();
        return opened;
    }
    std::string InvertedFile(const std::string& name) const {
        return (std::filesystem::path(survey.invertedFolder) / name).string();
    }

    survey_test::TemporaryFolder folder;
    survey_test::TestSurvey survey;
    RecordingUserInterface ui;
};

} // namespace inversion_test
