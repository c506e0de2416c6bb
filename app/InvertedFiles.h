#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "app/InvertedFilesFingerprint.h"
#include "app/RecordKeySource.h"

class CEnquete;
class CMatriceCodes;
class CQuestionEtendue;
class CQuestionNiveau;
class CVecteurDouble;

// The inverted files of a survey: beside the questionnaire "x.qes", in the folder "x.dat", the
// answers of each question already laid out as the containers the caches hold, one small binary
// file per question (and per combination of loop iterations), one per level with its record keys,
// and the stamp "Velto.dat". Every file is little-endian with no header:
//
//   closed  "Mod<code>[;<loop key>...].<answer count>" (or "Pro..." for a generated per-level
//           question): int32 rows, int32 columns, rows x columns uint16 cells row by row (the
//           modality index, 65531 for an empty cell);
//   numeric "Num<code>[;<loop key>...].<answer count>" (or "Pro..."): int32 count, count float64;
//   level   "Lvl<level code>.<depth>": int32 count, int32 key length (depth + 1), then per record
//           in key order its key values and its row, all int32;
//   stamp   "Velto.dat": one int32, the interview count when the inversion finished;
//   and the fingerprint "Empreintes.dat" (see InvertedFilesFingerprint), written last.
// docs/inverted-files.md gives the bytes of each.
//
// A file is read only when the survey's fingerprint lists it, the questionnaire unchanged since,
// and its bytes have the recorded size and CRC-32C, computed while they are read (once per file
// and session). Readers also check every count against the file's size and the file against
// the survey: a file that is missing, truncated, too long, of another survey or of another state
// of this one (its rows are not the question's level's records, a cell is no modality of the
// question, a value is not a number, keys out of order) is ignored, and the answers are then read
// from the response tables. No reader changes a file. Writers write a temporary file and put it
// in place only once it is complete, and give its size and checksum for the fingerprint.
class CInvertedFiles {
public:
    explicit CInvertedFiles(CEnquete& survey);

    // ---- Names (full paths in the survey's inversion folder) ----
    // The question's own file: its loop keys are its fixed keys (its values).
    std::string NomFichierQuestion(const CQuestionEtendue& question) const;
    // The file of the question for one combination of loop iterations.
    std::string NomFichierInverse(const CQuestionEtendue& question, const std::vector<std::int32_t>& loopKeys) const;
    // The level's file; a level question of code -1 is named with 0.
    std::string NomFichierNiveau(const CQuestionNiveau& level) const;
    std::string NomFichierTemoin() const;

    // ---- Readers ----
    // The question's closed or numeric file, stored in the survey's closed-answer or numeric
    // cache and lent to the caller like a table reader's result; false when the file cannot be
    // used (nothing is lent then).
    bool LireFichierFermees(CQuestionEtendue& question, CMatriceCodes*& out);
    bool LireFichierValeurs(CQuestionEtendue& question, CVecteurDouble*& out);
    // Fills the set with the level's record keys from its file; false (the set empty) when the
    // file cannot be used.
    bool LireFichierNiveau(const CQuestionNiveau& level, CRecordKeys& keys);

    // ---- The layouts, for the writers of the inversion ----
    // Each answers false with the reason in `error` when the file cannot be written; the
    // previous file, if any, is then left as it was. The size and checksum of the file written
    // go to `written` when given: a file the fingerprint does not record is not believed.
    using Entry = InvertedFilesFingerprint::Entry;
    static bool EcrireFermees(const std::string& path, const CMatriceCodes& codes, std::string& error,
                              Entry* written = nullptr);
    static bool EcrireValeurs(const std::string& path, const CVecteurDouble& values, std::string& error,
                              Entry* written = nullptr);
    // Cells given as a block of answer count cells per row.
    static bool EcrireBlocFermees(const std::string& path, std::int32_t rows, std::int32_t columns,
                                  const std::vector<std::int16_t>& cells, std::string& error,
                                  Entry* written = nullptr);
    static bool EcrireNiveau(const std::string& path, const CRecordKeys& keys, int keyLength,
                             std::string& error, Entry* written = nullptr);

private:
    std::string FolderFile(const std::string& name) const;
    // The record count of the question's level (loaded when needed); -1 when it cannot be loaded.
    int RecordCountOfLevel(const CQuestionEtendue& question) const;

    CEnquete& m_survey;
};
