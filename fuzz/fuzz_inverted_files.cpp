// The readers of the inverted files: a closed "Mod" file, a numeric "Num" file and a level "Lvl"
// file, each recorded in the fingerprint as the program records its own writes, so that their
// content is what the readers judge; and the fingerprint file. An accepted file must hold what
// the survey can use (its rows, its modalities, numbers, keys in order) and be written back to
// the same bytes; an accepted fingerprint must encode to the same bytes.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/CacheDonnees.h"
#include "app/Enquete.h"
#include "app/InvertedFiles.h"
#include "app/MatriceCodes.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/RecordKeySource.h"
#include "app/VecteurDouble.h"
#include "fuzz/FuzzInvertedFiles.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class KnownRecords : public CRecordKeySource {
public:
    bool ReadRecordKeys(const CQuestionNiveau&, int levelIndex, CRecordKeys& keys,
                        std::string&) override {
        keys = levelIndex == 0 ? CRecordKeys{{1}, {2}, {3}}
                               : CRecordKeys{{1, 1}, {1, 2}, {3, 1}};
        return true;
    }
};

// A survey in a folder of its own: "fuzz.qes" (any bytes: only its size and time matter here) and
// the inversion folder "fuzz.dat".
class InvertedSurvey : public CEnquete {
public:
    InvertedSurvey() {
        // In memory when the system offers it: every input writes files.
        std::error_code error;
        const std::filesystem::path memory("/dev/shm");
        const std::filesystem::path temporary =
            std::filesystem::is_directory(memory, error) ? memory : std::filesystem::temp_directory_path();
        std::string pattern = (temporary / "morvane-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        m_base = pattern + "/fuzz.qes";
        m_folder = pattern + "/fuzz.dat";
        std::ofstream(m_base) << "questionnaire";
        std::filesystem::create_directory(m_folder);
        CreerCaches();
        SetRecordKeySource(std::make_unique<KnownRecords>());
        AddLevel(0, 0);
        AddLevel(7, 1);
        closed = &AddQuestion(1, 1, fuzz::kInvertedColumns);
        for (const std::int32_t code : {1, 2, 3}) {
            auto modality = std::make_unique<CModaliteEtendue>(this);
            modality->code = code;
            closed->AddModalite(std::move(modality));
        }
        numeric = &AddQuestion(2, 5, 1);
    }
    ~InvertedSurvey() override {
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(m_base).parent_path(), ignored);
    }
    InvertedSurvey(const InvertedSurvey&) = delete;
    InvertedSurvey& operator=(const InvertedSurvey&) = delete;

    std::string DonnerCheminBase() const override { return m_base; }
    std::string DonnerCheminDonnees() const override { return m_base; }
    std::string DonnerRepertoireInversion() const override { return m_folder; }

    CQuestionEtendue* closed = nullptr;
    CQuestionEtendue* numeric = nullptr;

private:
    void AddLevel(std::int32_t code, std::int16_t depth) {
        auto level = std::make_unique<CQuestionNiveau>(this);
        level->code = code;
        level->depth = depth;
        level->kind = 2;
        levels.push_back(std::move(level));
    }
    CQuestionEtendue& AddQuestion(std::int32_t code, std::int16_t type, std::int16_t answers) {
        auto question = std::make_unique<CQuestionEtendue>(this);
        question->code = code;
        question->kind = 1;
        question->type = type;
        question->answerCount = answers;
        questions.push_back(std::move(question));
        return *questions.back();
    }

    std::string m_base;
    std::string m_folder;
};

InvertedSurvey& Survey() {
    static InvertedSurvey survey;
    return survey;
}

Bytes FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The file in place and recorded, as the program records what it writes.
void Install(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    std::string error;
    const InvertedFilesFingerprint::Entry entry{
        bytes.size(), InvertedFilesFingerprint::Checksum(bytes.data(), bytes.size())};
    if (!Survey().GetInvertedFilesFingerprint().Write(
            {{std::filesystem::path(path).filename().string(), entry}}, InvertedFilesFingerprint::Interviews::All,
            error))
        std::abort();
}

// What a writer gives for the container must be the bytes read.
template <class Write> void ExpectWrittenBack(const Bytes& read, Write write) {
    const std::string path = Survey().DonnerRepertoireInversion() + "/again";
    std::string error;
    if (!write(path, error) || FileBytes(path) != read)
        std::abort();
}

void FuzzClosed(const Bytes& file) {
    InvertedSurvey& survey = Survey();
    CInvertedFiles files(survey);
    Install(files.NomFichierQuestion(*survey.closed), file);
    CMatriceCodes* codes = nullptr;
    if (!files.LireFichierFermees(*survey.closed, codes))
        return;
    if (codes->GetNbLignes() != fuzz::kInvertedInterviews)
        std::abort();
    for (int row = 0; row < codes->GetNbLignes(); ++row)
        for (int column = 0; column < codes->GetNbColonnes(); ++column)
            if (const int cell = codes->GetAt(row, column);
                cell != CMatriceCodes::kEmptyCell && (cell < 0 || cell >= survey.closed->GetNbreModalite()))
                std::abort();
    ExpectWrittenBack(file, [&](const std::string& path, std::string& error) {
        return CInvertedFiles::EcrireFermees(path, *codes, error);
    });
    survey.GetClosedAnswerCache()->Liberer(survey.closed, codes);
    survey.OublierDonneesQuestion(*survey.closed);
}

void FuzzNumeric(const Bytes& file) {
    InvertedSurvey& survey = Survey();
    CInvertedFiles files(survey);
    Install(files.NomFichierQuestion(*survey.numeric), file);
    CVecteurDouble* values = nullptr;
    if (!files.LireFichierValeurs(*survey.numeric, values))
        return;
    if (values->GetSize() != fuzz::kInvertedInterviews)
        std::abort();
    for (int i = 0; i < values->GetSize(); ++i)
        if (!std::isfinite(values->GetAt(i)))
            std::abort();
    ExpectWrittenBack(file, [&](const std::string& path, std::string& error) {
        return CInvertedFiles::EcrireValeurs(path, *values, error);
    });
    survey.GetNumericCache()->Liberer(survey.numeric, values);
    survey.OublierDonneesQuestion(*survey.numeric);
}

void FuzzLevel(const Bytes& file) {
    InvertedSurvey& survey = Survey();
    CInvertedFiles files(survey);
    const CQuestionNiveau& level = *survey.DonnerNiveau(1);
    Install(files.NomFichierNiveau(level), file);
    CRecordKeys keys;
    if (!files.LireFichierNiveau(level, keys))
        return;
    for (const RecordKey& key : keys)
        if (key.size() != 2)
            std::abort();
    ExpectWrittenBack(file, [&](const std::string& path, std::string& error) {
        return CInvertedFiles::EcrireNiveau(path, keys, 2, error);
    });
}

// Any record: its bytes must be its own encoding. Then, stamped with the questionnaire as it is,
// it is what a new session believes, and each file it names is judged against it.
void FuzzFingerprint(const Bytes& file) {
    std::optional<InvertedFilesFingerprint::Record> record = InvertedFilesFingerprint::Decode(file);
    if (!record)
        return;
    if (InvertedFilesFingerprint::Encode(*record) != file)
        std::abort();
    InvertedSurvey& survey = Survey();
    if (!InvertedFilesFingerprint::StampOf(survey.DonnerCheminBase(), record->questionnaireSize,
                                           record->questionnaireModified))
        std::abort();
    const std::string path = survey.DonnerRepertoireInversion() + "/" + InvertedFilesFingerprint::kFileName;
    const Bytes stamped = InvertedFilesFingerprint::Encode(*record);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(stamped.data()), static_cast<std::streamsize>(stamped.size()));
    InvertedFilesFingerprint fingerprint(survey.DonnerCheminBase(), survey.DonnerRepertoireInversion());
    if (!fingerprint.IsInversionValid())
        std::abort();
    int judged = 0;
    for (const auto& [name, entry] : record->files) {
        if (fingerprint.Expected(name) == nullptr || *fingerprint.Expected(name) != entry)
            std::abort();
        fingerprint.IsFileValid(name);
        if (++judged == 8)
            break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const Bytes file(data + 1, data + size);
    switch (static_cast<fuzz::InvertedFileKind>(data[0] % 4)) {
    case fuzz::InvertedFileKind::Closed:
        FuzzClosed(file);
        break;
    case fuzz::InvertedFileKind::Numeric:
        FuzzNumeric(file);
        break;
    case fuzz::InvertedFileKind::Level:
        FuzzLevel(file);
        break;
    case fuzz::InvertedFileKind::Fingerprint:
        FuzzFingerprint(file);
        break;
    }
    return 0;
}
