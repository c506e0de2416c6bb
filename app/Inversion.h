#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/InvertedFiles.h"

class CContexteEtude;
class CDataAccess;
class CEnquete;
class CQuestionEtendue;
class CQuestionNiveau;
class UserInterface;

// Writes the inverted files of a survey (see CInvertedFiles for their layouts): every level's
// record keys, every question's answers and, for a question inside loops, its answers for each
// combination of loop iterations, one row per interview; the stamp, then the fingerprint of every
// file written, last. Answers are read from the response tables (never from older inverted files)
// through the reading facade.
//
// Each operation that writes files outside the inversion of the whole database records them in
// the fingerprint before it answers, beside the files recorded until then, so that the program's
// own writes stay believed.
//
// Every operation answers false with the reason in the survey's last error.
class CInversion {
public:
    // How the inversion of the whole database ended.
    enum class Issue { Done, Cancelled, Failed };

    CInversion(CEnquete& survey, UserInterface& ui);
    // The survey and the user of the study context.
    explicit CInversion(CContexteEtude& context);

    // Inverts the whole database, with progress the user may cancel: the folder, every level,
    // every question that is not a chapter nor recoded (each question code once: a question of
    // the top level gets its own file, another closed or free numeric question is inverted with
    // its loop combinations; open questions are skipped); then, when nothing failed or was
    // cancelled, "Veuillez recalculer les variables" when a computed question could not be read,
    // the stamp and the fingerprint. The old stamp and fingerprint go first, so that files half
    // rewritten are never taken as valid.
    Issue InverserBase();

    // The level's record keys, read from its response table.
    bool InverserNiveau(const CQuestionNiveau& level);
    // The question at that position of the survey's list: its own file and, inside loops, one
    // file per combination of iterations of the loops around it. A question neither closed nor
    // free numeric writes nothing and answers true.
    bool InverserQuestion(int position);
    // The question's own file from its closed answers or numeric values.
    bool InverserReponsesFermees(CQuestionEtendue& question);
    bool InverserValeursNumeriques(CQuestionEtendue& question);
    // The closed file of a generated question from a block of answer count 16-bit cells per
    // interview; a cell of -2 is written as -5, and replaced by -5 in the block too.
    bool InverserDonneesCalculees(CQuestionEtendue& question, std::vector<std::int16_t>& block);
    // Writes "Velto.dat" with the interview count, then the fingerprint, and marks the inverted
    // files valid.
    bool EcrireTemoinInversion(std::int32_t count);

private:
    struct Loop;
    struct Answers;
    struct Combination;
    class PrefetchedAnswers;

    bool Fail(const std::string& reason);
    // Keeps the size and checksum of a file just written for the fingerprint.
    void Written(const std::string& path, const CInvertedFiles::Entry& entry);
    // Outside the inversion of the whole database, records the files written in the fingerprint;
    // answers `done`, or false when the fingerprint cannot be written.
    bool Publish(bool done);
    bool FailReading(const CDataAccess& access);
    bool InvertQuestionWithLoops(int position);
    bool ReadAnswers(CDataAccess& access, CQuestionEtendue& question, Answers& answers);
    bool WriteOwnFile(const CQuestionEtendue& question, const Answers& answers);
    bool ReadLoops(CDataAccess& access, const CQuestionEtendue& question, const std::vector<int>& loopPositions,
                   std::vector<Loop>& loops);
    bool InverserCombinaisons(Combination& combination, std::size_t loop);
    bool WriteCombination(const Combination& combination);

    CEnquete& m_survey;
    UserInterface& m_ui;
    CInvertedFiles m_files;
    InvertedFilesFingerprint::Entries m_written;
    bool m_invertingBase = false;
};
