#include "app/Inversion.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "app/ContexteEtude.h"
#include "app/DataAccess.h"
#include "app/Enquete.h"
#include "app/MatriceCodes.h"
#include "app/OneStateScope.h"
#include "app/QuestionCalculee.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/RecordParents.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"
#include "app/VecteurDouble.h"
#include "platform/db/Database.h"

namespace {

constexpr std::int16_t kEmptyCell = CMatriceCodes::kEmptyCell;
constexpr std::int16_t kNotAskedCell = -2;
constexpr std::int32_t kNoAnswerCode = -1;
constexpr std::int32_t kNotAskedCode = -2;
constexpr double kNotAsked = CVecteurDouble::kNotAsked;
constexpr double kNoAnswer = CVecteurDouble::kNoAnswer;
// The answers the whole-database inversion reads in one walk of the response tables, at most.
constexpr std::uint64_t kPrefetchBytes = 256ull << 20;

// Progress for the life of a scope.
class ProgressScope {
public:
    ProgressScope(UserInterface& ui, int steps) : m_ui(ui) {
        m_ui.BeginProgress(Message(StringTable::kInversionDeLaBase), steps);
    }
    ~ProgressScope() { m_ui.EndProgress(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

private:
    UserInterface& m_ui;
};

// What the whole-database inversion does with each question.
enum class Step { Skip, OwnClosed, OwnNumeric, WithLoops };

// The steps of every question, in order: chapters, recoded questions and a code already inverted
// with its loops are skipped; the top level's closed and free numeric questions get their own
// file; the others are inverted with their loop combinations, once per code.
std::vector<Step> PlanSteps(const CEnquete& survey) {
    std::vector<Step> steps;
    std::set<std::int32_t> invertedCodes;
    for (int i = 0; i < survey.DonnerNbreQuestions(); ++i) {
        const CQuestionEtendue& question = *survey.DonnerQuestion(i);
        const bool closed = question.EstFermee();
        const bool numeric = question.EstNumeriqueLibre();
        Step step = Step::Skip;
        if (question.kind == 0 || question.recodeId != 0 || invertedCodes.count(question.code) != 0)
            step = Step::Skip;
        else if (question.level == 0)
            step = closed ? Step::OwnClosed : numeric ? Step::OwnNumeric : Step::Skip;
        else if (closed || numeric)
            step = Step::WithLoops;
        if (step == Step::WithLoops)
            invertedCodes.insert(question.code);
        steps.push_back(step);
    }
    return steps;
}

// Closed answers the cache lent before would come without what their read met of answers naming
// no modality, which the inversion records beside the file: they are read again.
void ForgetCachedAnswers(CEnquete& survey, const CQuestionEtendue& question) {
    if (question.EstFermee())
        survey.OublierDonneesQuestion(question);
}

// A question the batch readers read as the facade would: straight from its response table.
bool ReadStraightFromTables(const CQuestionEtendue& question) {
    return question.recodeId == 0 && question.generated == 0 && !question.KeepsCodeMatricesInMemory();
}

} // namespace

// ---- The answers of one question, borrowed and given back ---------------------------------------

struct CInversion::Answers {
    Answers() = default;
    Answers(const Answers&) = delete;
    Answers& operator=(const Answers&) = delete;
    ~Answers() {
        if (access == nullptr)
            return;
        access->MemoriserReponsesFermees(*question, codes);
        access->MemoriserValeursNumeriques(*question, values);
    }
    bool Empty() const { return codes == nullptr && values == nullptr; }
    // What the read met of answers naming no modality; null when none.
    const CDataAccess::UnknownAnswers* Unknown() const {
        return access != nullptr && question != nullptr ? access->UnknownAnswersRead(*question) : nullptr;
    }
    int Rows() const { return codes != nullptr ? codes->GetNbLignes() : values != nullptr ? values->GetSize() : 0; }

    CDataAccess* access = nullptr; // who lent them
    const CQuestionEtendue* question = nullptr;
    CMatriceCodes* codes = nullptr;
    CVecteurDouble* values = nullptr;
};

// One loop around the inverted question: its modality codes and, for each record of the
// question's level, the index of the loop's modality (-5 for none).
struct CInversion::Loop {
    std::vector<std::int32_t> codes;
    std::vector<std::int16_t> indexAtRecord;
};

// The recursion over loop iterations: the question, its answers, its loops, the interview of
// each of its records, and the iterations fixed so far.
struct CInversion::Combination {
    const CQuestionEtendue* question = nullptr;
    const Answers* answers = nullptr;
    std::vector<Loop> loops;
    std::vector<int> interviewOfRecord;
    const CDataAccess::UnknownAnswers* unknown = nullptr; // null when none
    int interviews = 0;
    std::vector<std::int32_t> fixedCodes;
    std::vector<std::int16_t> fixedIndexes;
};

// The answers of the next top-level questions, read in one walk of their response tables and
// given back as each is written (or all of them when the inversion stops).
class CInversion::PrefetchedAnswers {
public:
    explicit PrefetchedAnswers(CDataAccess& access) : m_access(access) {}
    PrefetchedAnswers(const PrefetchedAnswers&) = delete;
    PrefetchedAnswers& operator=(const PrefetchedAnswers&) = delete;
    ~PrefetchedAnswers() {
        for (auto& [position, answer] : m_closed)
            m_access.MemoriserReponsesFermees(*answer.first, answer.second);
        for (auto& [position, answer] : m_numeric)
            m_access.MemoriserValeursNumeriques(*answer.first, answer.second);
    }

    bool Fetched(int position) const { return m_fetched.count(position) != 0; }

    // Reads the questions of the steps from `first` on that the batch readers can read, as many
    // as the memory allows (at least one).
    void Fetch(CEnquete& survey, const std::vector<Step>& steps, int first) {
        std::vector<CQuestionEtendue*> closed;
        std::vector<CQuestionEtendue*> numeric;
        std::vector<int> closedPositions;
        std::vector<int> numericPositions;
        const auto interviews = static_cast<std::uint64_t>(std::max(survey.DonnerNbreInterviews(), 0));
        std::uint64_t bytes = 0;
        for (int i = first; i < static_cast<int>(steps.size()); ++i) {
            CQuestionEtendue* question = survey.DonnerQuestion(i);
            const Step step = steps[static_cast<std::size_t>(i)];
            if ((step != Step::OwnClosed && step != Step::OwnNumeric) || !ReadStraightFromTables(*question))
                continue;
            const std::uint64_t size = step == Step::OwnClosed
                                           ? interviews * static_cast<std::uint64_t>(std::max<int>(question->answerCount, 1)) * 2
                                           : interviews * 8;
            if (bytes > 0 && bytes + size > kPrefetchBytes)
                break;
            bytes += size;
            m_fetched.insert(i);
            if (step == Step::OwnClosed)
                ForgetCachedAnswers(survey, *question);
            (step == Step::OwnClosed ? closed : numeric).push_back(question);
            (step == Step::OwnClosed ? closedPositions : numericPositions).push_back(i);
        }
        Keep(closed, closedPositions, m_closed, &CDataAccess::LireTablesFermees);
        Keep(numeric, numericPositions, m_numeric, &CDataAccess::LireTablesNumeriques);
    }

    // The prefetched container of the question at the position, now the caller's to give
    // back; null when it was not read.
    CMatriceCodes* TakeClosed(int position) { return Take(m_closed, position); }
    CVecteurDouble* TakeValues(int position) { return Take(m_numeric, position); }

private:
    template <class Container>
    using Kept = std::map<int, std::pair<CQuestionEtendue*, Container*>>;

    template <class Container, class BatchRead>
    void Keep(const std::vector<CQuestionEtendue*>& questions, const std::vector<int>& positions,
              Kept<Container>& kept, BatchRead read) {
        if (questions.empty())
            return;
        std::vector<Container*> out;
        (m_access.*read)(questions, out);
        for (std::size_t i = 0; i < out.size() && i < positions.size(); ++i)
            if (out[i] != nullptr)
                kept[positions[i]] = {questions[i], out[i]};
    }

    template <class Container> Container* Take(Kept<Container>& kept, int position) {
        const auto found = kept.find(position);
        if (found == kept.end())
            return nullptr;
        Container* container = found->second.second;
        kept.erase(found);
        return container;
    }

    CDataAccess& m_access;
    std::set<int> m_fetched;
    Kept<CMatriceCodes> m_closed;
    Kept<CVecteurDouble> m_numeric;
};

// ---- Construction and errors --------------------------------------------------------------------

CInversion::CInversion(CEnquete& survey, UserInterface& ui) : m_survey(survey), m_ui(ui), m_files(survey) {}

CInversion::CInversion(CContexteEtude& context) : CInversion(context, context.GetUserInterface()) {}

bool CInversion::Fail(const std::string& reason) {
    m_survey.lastError = reason;
    return false;
}

void CInversion::Written(const std::string& path, const CInvertedFiles::Entry& entry) {
    m_written[std::filesystem::path(path).filename().string()] = entry;
}

bool CInversion::Publish(bool done) {
    if (m_invertingBase || m_written.empty())
        return done;
    std::string error;
    const bool recorded = m_survey.GetInvertedFilesFingerprint().Refresh(m_written, error);
    m_written.clear();
    if (!recorded)
        return Fail(error);
    return done;
}

bool CInversion::FailReading(const CDataAccess& access) {
    return Fail(!access.GetErrorText().empty() ? access.GetErrorText() : access.GetLevelErrorText());
}

// ---- Whole-question files ----------------------------------------------------------------------

// Closed answers for a closed question, values for a free numeric one, nothing for the others.
bool CInversion::ReadAnswers(CDataAccess& access, CQuestionEtendue& question, Answers& answers) {
    ForgetCachedAnswers(m_survey, question);
    bool read = true;
    if (question.EstFermee())
        read = access.LireReponsesFermees(question, answers.codes);
    else if (question.EstNumeriqueLibre())
        read = access.LireValeursNumeriques(question, answers.values);
    if (!read)
        return FailReading(access);
    answers.access = &access;
    answers.question = &question;
    return true;
}

bool CInversion::WriteOwnFile(const CQuestionEtendue& question, const Answers& answers) {
    std::string error;
    const std::string path = m_files.NomFichierQuestion(question);
    CInvertedFiles::Entry written;
    if (answers.codes != nullptr && !CInvertedFiles::EcrireFermees(path, *answers.codes, error, &written))
        return Fail(error);
    if (const CDataAccess::UnknownAnswers* unknown = answers.Unknown(); answers.codes != nullptr && unknown != nullptr)
        written.unknownAnswers = static_cast<std::uint64_t>(unknown->total);
    if (answers.values != nullptr && !CInvertedFiles::EcrireValeurs(path, *answers.values, error, &written))
        return Fail(error);
    if (answers.codes != nullptr || answers.values != nullptr)
        Written(path, written);
    return true;
}

bool CInversion::InverserReponsesFermees(CQuestionEtendue& question) {
    CDataAccess access(m_survey, false);
    Answers answers;
    ForgetCachedAnswers(m_survey, question);
    if (!access.LireReponsesFermees(question, answers.codes))
        return FailReading(access);
    answers.access = &access;
    answers.question = &question;
    return Publish(WriteOwnFile(question, answers));
}

bool CInversion::InverserValeursNumeriques(CQuestionEtendue& question) {
    CDataAccess access(m_survey, false);
    Answers answers;
    if (!access.LireValeursNumeriques(question, answers.values))
        return FailReading(access);
    answers.access = &access;
    answers.question = &question;
    return Publish(WriteOwnFile(question, answers));
}

bool CInversion::InverserDonneesCalculees(CQuestionEtendue& question, std::vector<std::int16_t>& block) {
    const std::int32_t interviews = m_survey.DonnerNbreInterviews();
    const std::int32_t columns = question.answerCount;
    const std::string path = m_files.NomFichierQuestion(question);
    if (interviews < 0 || columns < 0 ||
        block.size() != static_cast<std::size_t>(interviews) * static_cast<std::size_t>(columns))
        return Fail(StringTable::Format(Message(StringTable::kEcritureFichierInverse, {path})));
    std::replace(block.begin(), block.end(), kNotAskedCell, kEmptyCell);
    std::string error;
    CInvertedFiles::Entry written;
    if (!CInvertedFiles::EcrireBlocFermees(path, interviews, columns, block, error, &written))
        return Fail(error);
    Written(path, written);
    return Publish(true);
}

// ---- Levels and the stamp ----------------------------------------------------------------------

bool CInversion::InverserNiveau(const CQuestionNiveau& level) {
    CDataAccess access(m_survey, false);
    CRecordKeys keys;
    if (!access.ChargerClesNiveau(level, keys))
        return FailReading(access);
    std::string error;
    const std::string path = m_files.NomFichierNiveau(level);
    CInvertedFiles::Entry written;
    if (!CInvertedFiles::EcrireNiveau(path, keys, level.depth + 1, error, &written))
        return Fail(error);
    Written(path, written);
    return Publish(true);
}

bool CInversion::EcrireTemoinInversion(std::int32_t count) {
    const std::string path = m_files.NomFichierTemoin();
    const auto bits = static_cast<std::uint32_t>(count);
    const char bytes[4] = {static_cast<char>(bits & 0xFF), static_cast<char>((bits >> 8) & 0xFF),
                           static_cast<char>((bits >> 16) & 0xFF), static_cast<char>((bits >> 24) & 0xFF)};
    std::ofstream file;
    if (!path.empty())
        file.open(path, std::ios::binary | std::ios::trunc);
    file.write(bytes, sizeof bytes);
    file.close();
    if (path.empty() || !file)
        return Fail(StringTable::Format(Message(StringTable::kEcritureFichierInverse, {path})));
    // The whole database replaces the record; otherwise the files written join those recorded.
    InvertedFilesFingerprint& fingerprint = m_survey.GetInvertedFilesFingerprint();
    std::string error;
    const auto interviews = m_survey.UseCompletedOnly ? InvertedFilesFingerprint::Interviews::CompletedOnly
                                                      : InvertedFilesFingerprint::Interviews::All;
    const bool recorded =
        m_invertingBase ? fingerprint.Write(m_written, interviews, error) : fingerprint.Refresh(m_written, error);
    m_written.clear();
    if (!recorded)
        return Fail(error);
    m_survey.invertedFilesValid = true;
    return true;
}

// ---- One question with its loop combinations ---------------------------------------------------

bool CInversion::InverserQuestion(int position) {
    return Publish(InvertQuestionWithLoops(position));
}

bool CInversion::InvertQuestionWithLoops(int position) {
    CQuestionEtendue* question = m_survey.DonnerQuestion(position);
    if (question == nullptr)
        return Fail("La question " + std::to_string(position) + " n'existe pas");
    CDataAccess access(m_survey, false);
    Answers answers;
    if (!ReadAnswers(access, *question, answers))
        return false;
    if (answers.Empty())
        return true;
    std::vector<int> loopLevels;
    std::vector<int> loopPositions;
    m_survey.CollecterAscendants(position, loopLevels, loopPositions);
    if (!loopPositions.empty()) {
        Combination combination;
        combination.question = question;
        combination.answers = &answers;
        combination.unknown = answers.Unknown();
        if (!ReadLoops(access, *question, loopPositions, combination.loops))
            return false;
        // Each record of the question's level goes to the interview whose key is a prefix of its
        // own: a record without an interview goes nowhere and shifts nothing after it.
        CQuestionNiveau* level = m_survey.DonnerNiveau(question->level);
        const CQuestionNiveau* interviews = m_survey.DonnerNiveau(0);
        std::string error;
        if (level == nullptr || interviews == nullptr || !level->ChargerEffectifs(m_survey, question->level, error))
            return Fail(error.empty() ? "Le niveau de la question '" + question->name + "' est introuvable" : error);
        if (level->GetNbreEnregistrements() != answers.Rows())
            return Fail(StringTable::Format(
                Message(StringTable::kQuestionNiveauInaccessible, {question->GetCaption(), level->GetCaption()})));
        combination.interviewOfRecord = ParentRowsByKeyPrefix(level->GetEnregistrements(), interviews->GetEnregistrements());
        combination.interviews = interviews->GetNbreEnregistrements();
        if (!InverserCombinaisons(combination, 0))
            return false;
    }
    return WriteOwnFile(*question, answers);
}

bool CInversion::ReadLoops(CDataAccess& access, const CQuestionEtendue& question,
                           const std::vector<int>& loopPositions, std::vector<Loop>& loops) {
    for (const int position : loopPositions) {
        CQuestionEtendue& loopQuestion = *m_survey.DonnerQuestion(position);
        Loop loop;
        if (!loopQuestion.EstNumeriqueLibre()) {
            // A loop over modalities: the modality of each record, carried to the question's level.
            for (int k = 0; k < loopQuestion.GetNbreModalite(); ++k)
                loop.codes.push_back(loopQuestion.GetCodeModalite(k));
            CMatriceCodes carried;
            if (!access.LireReponsesFermeesNiveau(loopQuestion, question.level, carried))
                return FailReading(access);
            for (int row = 0; row < carried.GetNbLignes(); ++row)
                loop.indexAtRecord.push_back(carried.GetNbColonnes() > 0 ? carried.GetAt(row, 0) : kEmptyCell);
        } else {
            // A loop counted by a number: iterations 1 .. N, then the -1 and -2 answers.
            const int iterations = std::clamp(static_cast<int>(loopQuestion.upperBound), 0, 32765);
            for (int code = 1; code <= iterations; ++code)
                loop.codes.push_back(code);
            loop.codes.push_back(kNoAnswerCode);
            loop.codes.push_back(kNotAskedCode);
            CVecteurDouble carried;
            if (!access.LireValeursNumeriquesNiveau(loopQuestion, question.level, carried))
                return FailReading(access);
            for (int row = 0; row < carried.GetSize(); ++row) {
                const double value = carried.GetAt(row);
                std::int16_t index = kEmptyCell;
                if (value == kNoAnswer)
                    index = static_cast<std::int16_t>(iterations);
                else if (value == kNotAsked || value == 0.0)
                    index = static_cast<std::int16_t>(iterations + 1);
                else if (value > 0.0 && value <= iterations)
                    index = static_cast<std::int16_t>(static_cast<int>(value) - 1);
                loop.indexAtRecord.push_back(index);
            }
        }
        loops.push_back(std::move(loop));
    }
    return true;
}

bool CInversion::InverserCombinaisons(Combination& combination, std::size_t loop) {
    if (loop == combination.loops.size())
        return WriteCombination(combination);
    const std::vector<std::int32_t>& codes = combination.loops[loop].codes;
    for (std::size_t k = 0; k < codes.size(); ++k) {
        if (codes[k] == kNoAnswerCode || codes[k] == kNotAskedCode)
            continue;
        combination.fixedCodes.push_back(codes[k]);
        combination.fixedIndexes.push_back(static_cast<std::int16_t>(k));
        const bool written = InverserCombinaisons(combination, loop + 1);
        combination.fixedCodes.pop_back();
        combination.fixedIndexes.pop_back();
        if (!written)
            return false;
    }
    return true;
}

// One row per interview: the answers of the interview's record at the fixed iterations (the
// last such record when there are several).
bool CInversion::WriteCombination(const Combination& combination) {
    const auto matches = [&combination](std::size_t record) {
        for (std::size_t j = 0; j < combination.loops.size(); ++j) {
            const std::vector<std::int16_t>& indexes = combination.loops[j].indexAtRecord;
            if (record >= indexes.size() || indexes[record] != combination.fixedIndexes[j])
                return false;
        }
        return true;
    };
    const CQuestionEtendue& question = *combination.question;
    const std::string path = m_files.NomFichierInverse(question, combination.fixedCodes);
    std::string error;
    if (const CMatriceCodes* codes = combination.answers->codes; codes != nullptr) {
        CMatriceCodes byInterview(static_cast<std::int16_t>(codes->GetNbColonnes()));
        byInterview.SetNbLignes(combination.interviews);
        // The answers naming no modality in the records taken, as a read of the combination's
        // records from the response tables counts them.
        std::uint64_t unknown = 0;
        for (std::size_t record = 0; record < combination.interviewOfRecord.size(); ++record) {
            const int interview = combination.interviewOfRecord[record];
            if (interview < 0 || !matches(record))
                continue;
            for (int column = 0; column < codes->GetNbColonnes(); ++column)
                byInterview.SetAt(interview, column, codes->GetAt(static_cast<int>(record), column));
            if (combination.unknown != nullptr && record < combination.unknown->byRow.size())
                unknown += static_cast<std::uint64_t>(combination.unknown->byRow[record]);
        }
        const int noAnswer = question.TrouverNonReponse();
        if (noAnswer >= 0 && byInterview.GetNbColonnes() > 0) {
            for (int row = 0; row < byInterview.GetNbLignes(); ++row) {
                bool empty = true;
                for (int column = 0; column < byInterview.GetNbColonnes() && empty; ++column)
                    empty = byInterview.GetAt(row, column) == kEmptyCell;
                if (empty)
                    byInterview.SetAt(row, 0, static_cast<std::int16_t>(noAnswer));
            }
        }
        CInvertedFiles::Entry written;
        if (!CInvertedFiles::EcrireFermees(path, byInterview, error, &written))
            return Fail(error);
        written.unknownAnswers = unknown;
        Written(path, written);
        return true;
    }
    if (const CVecteurDouble* values = combination.answers->values; values != nullptr) {
        CVecteurDouble byInterview(combination.interviews);
        byInterview.Remplir(kNotAsked);
        for (std::size_t record = 0; record < combination.interviewOfRecord.size(); ++record) {
            const int interview = combination.interviewOfRecord[record];
            if (interview >= 0 && matches(record))
                byInterview.SetAt(interview, values->GetAt(static_cast<int>(record)));
        }
        CInvertedFiles::Entry written;
        if (!CInvertedFiles::EcrireValeurs(path, byInterview, error, &written))
            return Fail(error);
        Written(path, written);
        return true;
    }
    return true;
}

// ---- The whole database ------------------------------------------------------------------------

CInversion::Issue CInversion::InverserBase() {
    // Every file written until the end goes into one new record, written after the stamp.
    struct WholeBase {
        explicit WholeBase(CInversion& inversion) : m_inversion(inversion) {
            m_inversion.m_invertingBase = true;
            m_inversion.m_written.clear();
        }
        ~WholeBase() {
            m_inversion.m_invertingBase = false;
            m_inversion.m_written.clear();
        }
        WholeBase(const WholeBase&) = delete;
        WholeBase& operator=(const WholeBase&) = delete;
        CInversion& m_inversion;
    } wholeBase(*this);
    // Nothing is removed from a questionnaire that cannot be written, and every file is written
    // from one committed state of it.
    if (!db::Database::isWritable(m_survey.DonnerCheminBase())) {
        Fail(StringTable::Format(Message(StringTable::kQuestionnaireLectureSeule, {m_survey.DonnerCheminBase()})));
        return Issue::Failed;
    }
    const OneStateScope oneState(m_survey);
    if (oneState.Refusal().id != 0) {
        Fail(StringTable::Format(oneState.Refusal()));
        return Issue::Failed;
    }
    std::error_code ignored;
    if (const std::string stamp = m_files.NomFichierTemoin(); !stamp.empty())
        std::filesystem::remove(stamp, ignored);
    m_survey.GetInvertedFilesFingerprint().Forget();
    m_survey.invertedFilesValid = false;
    if (!m_survey.CreerRepertoireInversion()) {
        Fail("Impossible de créer le dossier '" + m_survey.DonnerRepertoireInversion() + "'");
        return Issue::Failed;
    }
    const int levelCount = m_survey.DonnerNbreNiveaux();
    ProgressScope progress(m_ui, levelCount + m_survey.DonnerNbreQuestions());
    for (int i = 0; i < levelCount; ++i) {
        if (!InverserNiveau(*m_survey.DonnerNiveau(i)))
            return Issue::Failed;
        if (!m_ui.ReportProgress(i))
            return Issue::Cancelled;
    }
    const std::vector<Step> steps = PlanSteps(m_survey);
    CDataAccess access(m_survey, false);
    PrefetchedAnswers prefetched(access);
    bool computedUnreadable = false;
    for (int i = 0; i < static_cast<int>(steps.size()); ++i) {
        CQuestionEtendue& question = *m_survey.DonnerQuestion(i);
        const Step step = steps[static_cast<std::size_t>(i)];
        bool done = true;
        if ((step == Step::OwnClosed || step == Step::OwnNumeric) && !prefetched.Fetched(i))
            prefetched.Fetch(m_survey, steps, i);
        if (step == Step::OwnClosed) {
            Answers answers;
            answers.codes = prefetched.TakeClosed(i);
            answers.access = answers.codes != nullptr ? &access : nullptr;
            answers.question = &question;
            done = answers.codes != nullptr ? WriteOwnFile(question, answers) : InverserReponsesFermees(question);
            if (!done && question.GetQuestionCalculee() != nullptr) {
                computedUnreadable = true;
                done = true;
            }
        } else if (step == Step::OwnNumeric) {
            Answers answers;
            answers.values = prefetched.TakeValues(i);
            answers.access = answers.values != nullptr ? &access : nullptr;
            answers.question = &question;
            done = answers.values != nullptr ? WriteOwnFile(question, answers) : InverserValeursNumeriques(question);
        } else if (step == Step::WithLoops) {
            done = InverserQuestion(i);
        }
        if (!done)
            return Issue::Failed;
        if (!m_ui.ReportProgress(levelCount + i))
            return Issue::Cancelled;
    }
    if (computedUnreadable)
        m_ui.ShowMessage(Message(StringTable::kVeuillezRecalculerVariables), UserInterface::Icon::Warning);
    return EcrireTemoinInversion(m_survey.DonnerNbreInterviews()) ? Issue::Done : Issue::Failed;
}
