// The archive of a request (CTraitement::Serialize), kept apart from the request's own
// operations: storing walks the request, loading finds every stored name again in the survey of
// the study context and notes what no longer resolves.

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/ContexteEtude.h"
#include "app/DBQuestionnaire.h"
#include "app/IdName.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/StringTable.h"
#include "platform/questionnaire/ArchiveVersion.h"
#include "recodes/RecodageModalite.h"
#include "tabulation/Traitement.h"

namespace {

// ---- Codes of a modality line's record -------------------------------------------------------

// A calculation line of code c is stored as kFirstCalculationCode - c.
constexpr std::int32_t kFirstCalculationCode = -5;
// A group of the analyst's carries no modality of the parent question.
constexpr std::int32_t kNoModalityIndex = -1;

// ---- Profile records -------------------------------------------------------------------------

enum ProfileForm : std::int32_t {
    kFormIndexLists = 0, // older files: questions with plain lists of modality indexes
    kFormNamed = 1,      // a named profile of the questionnaire, by its name
    kFormLines = 2,      // the lines themselves
};

// A modality of a profile line stores the display options in the order first, second, fourth,
// third.
constexpr std::array<std::size_t, 4> kStoredOptionOrder{0, 1, 3, 2};

// ---- Smallest records, to check counts against what remains ----------------------------------

constexpr std::size_t kSmallestString = 1;
constexpr std::size_t kSmallestCount = 2;
constexpr std::size_t kSmallestLineRecord = 4 + kSmallestString + 4 * 4;
constexpr std::size_t kSmallestGroupRecord = 4 + kSmallestString + 4 * 4 + 2;
constexpr std::size_t kSmallestProfileModality = 4 + 4 * 4;
constexpr std::size_t kSmallestIndexListLine = kSmallestString + kSmallestCount;
constexpr std::size_t kIndexSize = 4;

// ---- What a loaded request may find missing: one text per part, naming it --------------------

enum class Missing {
    Question,
    Modality,
    QuestionNotClosed,
    QuestionNotNumeric,
    QuestionNotOpen,
    Grouping,
    Profile,
    Style,
    EmptyStyle,
    StudyField,
    Weighting,
    Level,
};

struct MissingText {
    Missing what;
    const char* text; // the first "%s" stands for the name, a second one for the detail
};

constexpr std::array kMissingTexts{
    MissingText{Missing::Question, "La question '%s' n'existe plus dans le questionnaire"},
    MissingText{Missing::Modality, "La question '%s' n'a plus de modalité n°%s"},
    MissingText{Missing::QuestionNotClosed, "La question '%s' n'est pas une question fermée"},
    MissingText{Missing::QuestionNotNumeric, "La question '%s' n'est pas une question numérique"},
    MissingText{Missing::QuestionNotOpen, "La question '%s' n'est pas une question ouverte"},
    MissingText{Missing::Grouping, "Le regroupement de la question '%s' ne peut plus être construit"},
    MissingText{Missing::Profile, "Profil '%s' pas trouvé"},
    MissingText{Missing::Style, "Style '%s' pas trouvé"},
    MissingText{Missing::EmptyStyle, "Le style de la demande ne contient aucun calcul"},
    MissingText{Missing::StudyField, "Champ d'étude '%s' pas trouvé"},
    MissingText{Missing::Weighting, "Redressement '%s' pas trouvé"},
    MissingText{Missing::Level, "Niveau %s pas trouvé"},
};

Message MissingMessage(Missing what, const std::string& name, const std::string& detail = {}) {
    for (const MissingText& entry : kMissingTexts) {
        if (entry.what != what)
            continue;
        std::string text = entry.text;
        std::size_t place = text.find("%s");
        if (place != std::string::npos) {
            text.replace(place, 2, name);
            place = text.find("%s", place + name.size());
            if (place != std::string::npos)
                text.replace(place, 2, detail);
        }
        return Message::Text(text);
    }
    return Message::Text(name);
}

// ---- The survey ------------------------------------------------------------------------------

std::int32_t LevelCode(const CEnquete* survey, std::int32_t index) {
    const CQuestionNiveau* level = survey ? survey->DonnerNiveau(index) : nullptr;
    return level ? level->code : 0;
}

using IdNameList = std::vector<std::unique_ptr<CIdName>>;

// The id of the first entry of exactly that name.
bool IdOfName(const IdNameList& list, const std::string& name, std::int32_t& id) {
    for (const auto& entry : list)
        if (entry && entry->name == name) {
            id = entry->id;
            return true;
        }
    return false;
}

std::string QuestionName(const CQuestionEtendue* question) { return question ? question->name : std::string(); }

} // namespace

// ---- Storing ---------------------------------------------------------------------------------

class CTraitement::ArchiveWriter {
public:
    ArchiveWriter(CTraitement& request, CArchiveVersion& archive)
        : m_request(request), m_archive(archive), m_context(GetContexte()) {}

    void Write() {
        CTraitement& r = m_request;
        m_archive << r.type;
        WriteSide(r.m_axes[kLignes], kAxeProfilOuvertes);
        WriteSide(r.m_axes[kColonnes], kAxeOuverte);
        m_archive.SerializeArray(r.m_axes[kLignes].calculations);
        m_archive.SerializeArray(r.m_axes[kColonnes].calculations);
        m_archive << r.title << LevelCode(m_context, r.level) << r.studyFieldName << r.weightingName;
        r.mergeOptions.Serialize(m_archive);
        r.presentation.Serialize(m_archive);
        r.chartPresentation.Serialize(m_archive);
        m_archive << r.openAsChart << std::int32_t{r.m_style ? 1 : 0};
        if (r.m_style)
            r.m_style->Serialize(m_archive);
    }

private:
    // The kind and its payload; kinds above `lastKindWithPayload` have none.
    void WriteSide(Side& side, std::int16_t lastKindWithPayload) {
        m_archive << side.kind;
        if (side.kind < 0 || side.kind > lastKindWithPayload)
            return;
        switch (side.kind) {
        case kAxeFermee:
            WriteQuestion(side.question);
            WriteLines(side);
            break;
        case kAxeRegroupement:
            WriteQuestion(side.question);
            WriteGrouping(side);
            break;
        case kAxeProfilFermees:
        case kAxeProfilNumeriques:
            WriteProfile(side.profile.get(), side.kind);
            m_archive << side.totalOption;
            break;
        case kAxeProfilOuvertes:
            WriteProfile(side.profile.get(), side.kind);
            break;
        case kAxeNumerique:
        case kAxeOuverte:
            WriteQuestion(side.question);
            break;
        default:
            break;
        }
    }

    void WriteQuestion(const CQuestionEtendue* question) { m_archive << QuestionName(question); }

    struct LineRecord {
        std::int32_t code;
        std::string label;
        const CLigne* line;
    };

    // Lines whose modality is no longer in the question are not stored.
    void WriteLines(const Side& side) {
        std::vector<LineRecord> records;
        for (const auto& line : side.lines) {
            if (!line)
                continue;
            if (dynamic_cast<const CCalcul*>(line.get())) {
                const auto code = static_cast<std::int32_t>(std::int64_t{kFirstCalculationCode} - line->code);
                records.push_back({code, line->label, line.get()});
            } else if (line->EstTotal()) {
                records.push_back({CLigne::kTotalCode, line->label, line.get()});
            } else if (const int index = side.question ? side.question->TrouverModalite(line->code) : -1; index >= 0) {
                const CModaliteEtendue* modality = side.question->GetModaliteEtendue(index);
                const bool usual = modality && modality->GetShortCaption() == line->label;
                records.push_back({index, usual ? std::string() : line->label, line.get()});
            }
        }
        m_archive.WriteCount(static_cast<std::uint32_t>(records.size()));
        for (const LineRecord& record : records)
            m_archive << record.code << record.label << record.line->bold << record.line->italic
                      << record.line->underline << record.line->shadow;
    }

    // Groups carrying a modality that is no longer in the parent question are not stored.
    void WriteGrouping(const Side& side) {
        const CRecodageModalite* grouping = side.grouping.get();
        const CQuestionEtendue* parent =
            m_context && side.question ? m_context->DonnerQuestionParente(side.question) : nullptr;
        struct GroupRecord {
            std::int32_t index;
            const CModaliteGroupe* node;
        };
        std::vector<GroupRecord> records;
        for (int i = 0; grouping && i < grouping->NodeCount(); ++i) {
            const CModaliteGroupe* node = grouping->Node(i);
            if (node->code == 0)
                records.push_back({kNoModalityIndex, node});
            else if (const int index = parent ? parent->TrouverModalite(node->code) : -1; index >= 0)
                records.push_back({index, node});
        }
        m_archive << (grouping ? grouping->label : std::string())
                  << std::int32_t{grouping && grouping->GetEstCumule() ? 1 : 0};
        m_archive.WriteCount(static_cast<std::uint32_t>(records.size()));
        for (const GroupRecord& record : records) {
            m_archive << record.index << record.node->GetShortCaption();
            for (bool option : record.node->displayOptions)
                m_archive << std::int32_t{option ? 1 : 0};
            m_archive << record.node->level;
        }
    }

    // A named profile by its name; any other as its lines, a separator line as an empty name.
    void WriteProfile(const CProfil* profile, std::int16_t kind) {
        if (profile && profile->id != -1) {
            m_archive << std::int32_t{kFormNamed} << profile->label;
            return;
        }
        m_archive << std::int32_t{kFormLines};
        const int count = profile ? profile->GetCount() : 0;
        m_archive.WriteCount(static_cast<std::uint32_t>(count));
        for (int i = 0; i < count; ++i) {
            const CSousProfil* line = profile->GetSousProfil(i);
            WriteQuestion(line->GetQuestion());
            if (kind == kAxeProfilFermees)
                WriteProfileModalities(*line);
        }
    }

    // Modalities that are no longer in the question are not stored.
    void WriteProfileModalities(const CSousProfil& line) {
        const CQuestionEtendue* question = line.GetQuestion();
        std::vector<std::pair<std::int32_t, const CModaliteEtendue*>> records;
        for (const auto& modality : line.Modalites())
            if (const int index = question && modality ? question->TrouverModalite(modality->code) : -1; index >= 0)
                records.emplace_back(index, modality.get());
        m_archive.WriteCount(static_cast<std::uint32_t>(records.size()));
        for (const auto& [index, modality] : records) {
            m_archive << index;
            for (std::size_t option : kStoredOptionOrder)
                m_archive << std::int32_t{modality->displayOptions[option] ? 1 : 0};
        }
    }

    CTraitement& m_request;
    CArchiveVersion& m_archive;
    CContexteEtude* m_context;
};

// ---- Loading ---------------------------------------------------------------------------------

class CTraitement::ArchiveReader {
public:
    // Reads into a new request, which then holds what was read and the missing parts noted.
    ArchiveReader(CTraitement& loaded, CArchiveVersion& archive)
        : m_request(loaded), m_archive(archive), m_context(GetContexte()) {}

    void Read() {
        CTraitement& r = m_request;
        m_archive >> r.type;
        ReadSide(r.m_axes[kLignes], kAxeProfilOuvertes);
        ReadSide(r.m_axes[kColonnes], kAxeOuverte);
        m_archive.SerializeArray(r.m_axes[kLignes].calculations);
        m_archive.SerializeArray(r.m_axes[kColonnes].calculations);
        std::int32_t levelCode = 0;
        m_archive >> r.title >> levelCode >> r.studyFieldName >> r.weightingName;
        r.mergeOptions.Serialize(m_archive);
        r.presentation.Serialize(m_archive);
        r.chartPresentation.Serialize(m_archive);
        std::int32_t withStyle = 0;
        m_archive >> r.openAsChart >> withStyle;
        if (withStyle != 0) {
            auto style = std::make_unique<CStyle>();
            style->Serialize(m_archive);
            r.m_style = std::move(style);
        }
        // Everything is read: now what the names stand for.
        ResolveLevel(levelCode);
        r.studyFieldId = ResolveStudyField(r.studyFieldName);
        r.weightingId = ResolveWeighting(r.weightingName);
        if (r.m_style && r.m_style->GetCount() == 0)
            Invalidate(r.m_style->name.empty() ? Missing::EmptyStyle : Missing::Style, r.m_style->name);
    }

private:
    void Invalidate(Missing what, const std::string& name, const std::string& detail = {}) {
        m_request.m_invalid = 1;
        m_request.m_invalidMessages.push_back(MissingMessage(what, name, detail));
    }

    void ReadSide(Side& side, std::int16_t lastKindWithPayload) {
        m_archive >> side.kind;
        if (side.kind < 0 || side.kind > lastKindWithPayload)
            return;
        switch (side.kind) {
        case kAxeFermee:
            side.question = ReadQuestion();
            ReadLines(side);
            if (side.question && !side.question->EstFermee())
                Invalidate(Missing::QuestionNotClosed, side.question->name);
            break;
        case kAxeRegroupement:
            side.question = ReadQuestion();
            ReadGrouping(side);
            break;
        case kAxeProfilFermees:
        case kAxeProfilNumeriques:
            side.profile = ReadProfile(side.kind);
            m_archive >> side.totalOption;
            break;
        case kAxeProfilOuvertes:
            side.profile = ReadProfile(side.kind);
            break;
        case kAxeNumerique:
            side.question = ReadQuestion();
            if (side.question && !side.question->EstNumerique())
                Invalidate(Missing::QuestionNotNumeric, side.question->name);
            break;
        case kAxeOuverte:
            side.question = ReadQuestion();
            if (side.question && !side.question->EstOuverte())
                Invalidate(Missing::QuestionNotOpen, side.question->name);
            break;
        default:
            break;
        }
    }

    // The question of the stored name; null, and the request invalid, when the survey has none.
    CQuestionEtendue* ReadQuestion() {
        std::string name;
        m_archive >> name;
        return FindQuestion(name);
    }

    CQuestionEtendue* FindQuestion(const std::string& name) {
        CQuestionEtendue* question = m_context ? m_context->TrouverQuestionParNom(name) : nullptr;
        if (!question)
            Invalidate(Missing::Question, name);
        return question;
    }

    struct Flags {
        std::array<std::int32_t, 4> values{};
        bool operator[](std::size_t i) const { return values[i] != 0; }
    };

    Flags ReadFlags() {
        Flags flags;
        for (std::int32_t& value : flags.values)
            m_archive >> value;
        return flags;
    }

    static void SetLineFlags(CLigne& line, const Flags& flags) {
        line.bold = flags[0] ? 1 : 0;
        line.italic = flags[1] ? 1 : 0;
        line.underline = flags[2] ? 1 : 0;
        line.shadow = flags[3] ? 1 : 0;
    }

    void ReadLines(Side& side) {
        const std::uint32_t count = m_archive.ReadBoundedCount(kSmallestLineRecord);
        for (std::uint32_t i = 0; i < count; ++i) {
            std::int32_t code = 0;
            std::string label;
            m_archive >> code >> label;
            const Flags flags = ReadFlags();
            if (std::unique_ptr<CLigne> line = LineOfRecord(side.question, code, label)) {
                SetLineFlags(*line, flags);
                side.lines.push_back(std::move(line));
            } else if (side.question && code >= 0) {
                InvalidateModality(*side.question, code);
            }
        }
    }

    // A stored modality index the question no longer has: the request would otherwise be
    // computed on fewer lines than it was made with, under the same caption.
    void InvalidateModality(const CQuestionEtendue& question, std::int32_t index) {
        Invalidate(Missing::Modality, question.name, std::to_string(std::int64_t{index} + 1));
    }

    // The line a record stands for; null for a record to drop (no question, codes -3 to -1, a
    // modality index the question no longer has).
    static std::unique_ptr<CLigne> LineOfRecord(const CQuestionEtendue* question, std::int32_t code,
                                                const std::string& label) {
        if (!question)
            return nullptr;
        if (code == CLigne::kTotalCode) {
            auto total = std::make_unique<CLigne>(label);
            total->code = CLigne::kTotalCode;
            total->fromModality = 1;
            return total;
        }
        if (code <= kFirstCalculationCode) {
            auto calculation = std::make_unique<CCalcul>();
            calculation->code = kFirstCalculationCode - code;
            calculation->label = label;
            return calculation;
        }
        const CModaliteEtendue* modality = code >= 0 ? question->GetModaliteEtendue(code) : nullptr;
        if (!modality)
            return nullptr;
        auto line = std::make_unique<CLigne>(*modality);
        if (!label.empty())
            line->label = label;
        return line;
    }

    void ReadGrouping(Side& side) {
        std::string name;
        std::int32_t severalTimes = 0;
        m_archive >> name >> severalTimes;
        const CQuestionEtendue* parent =
            m_context && side.question ? m_context->DonnerQuestionParente(side.question) : nullptr;
        std::unique_ptr<CRecodageModalite> grouping;
        if (parent) {
            grouping = std::make_unique<CRecodageModalite>(m_context);
            grouping->label = name;
            grouping->SetEstCumule(severalTimes != 0);
        } else if (side.question) {
            Invalidate(Missing::Grouping, side.question->name);
        }
        const std::uint32_t count = m_archive.ReadBoundedCount(kSmallestGroupRecord);
        for (std::uint32_t i = 0; i < count; ++i) {
            std::int32_t index = 0;
            std::string caption;
            m_archive >> index >> caption;
            const Flags flags = ReadFlags();
            std::int16_t groupLevel = 0;
            m_archive >> groupLevel;
            if (!grouping)
                continue;
            std::int32_t code = 0;
            if (index != kNoModalityIndex) {
                const CModalite* modality = parent->GetModalite(index);
                if (!modality) {
                    InvalidateModality(*parent, index);
                    continue;
                }
                code = modality->code;
            }
            auto node = std::make_unique<CModaliteGroupe>(m_context, code, caption, groupLevel);
            for (std::size_t k = 0; k < node->displayOptions.size(); ++k)
                node->displayOptions[k] = flags[k];
            grouping->AjouterNoeud(std::move(node));
        }
        side.grouping = std::move(grouping);
    }

    // ---- Profiles

    std::unique_ptr<CProfil> ReadProfile(std::int16_t kind) {
        std::int32_t form = 0;
        m_archive >> form;
        switch (form) {
        case kFormNamed: {
            std::string name;
            m_archive >> name;
            auto profile = ReadNamedProfile(kind, name);
            if (!profile)
                Invalidate(Missing::Profile, name);
            return profile;
        }
        case kFormLines:
            return ReadProfileLines(kind);
        case kFormIndexLists:
            return ReadProfileIndexLists(kind);
        default:
            return nullptr;
        }
    }

    // The named profile of the questionnaire's profile list (kind 2) or numeric list (kinds 3
    // and 7); null when the list cannot be read or holds no profile of exactly that name.
    std::unique_ptr<CProfil> ReadNamedProfile(std::int16_t kind, const std::string& name) {
        if (!m_context)
            return nullptr;
        CDBQuestionnaire database(*m_context, &m_context->GetUserInterface());
        const bool closed = kind == kAxeProfilFermees;
        IdNameList list;
        if (!(closed ? database.GetProfileList(list) : database.GetNumericProfileList(list)))
            return nullptr;
        std::int32_t id = -1;
        if (!IdOfName(list, name, id) || id == -1)
            return nullptr;
        auto profile = std::make_unique<CProfil>();
        if (!(closed ? database.ReadProfile(id, *profile) : database.ReadNumericProfile(id, *profile)))
            return nullptr;
        return profile;
    }

    // A stored modality of a profile line: its index in the question and, in the current form,
    // the display options it is shown with.
    struct ModalityRecord {
        std::int32_t index = -1;
        bool withOptions = false;
        std::array<bool, 4> options{};
    };
    using ModalityRecords = std::vector<ModalityRecord>;

    std::unique_ptr<CProfil> ReadProfileLines(std::int16_t kind) {
        auto profile = std::make_unique<CProfil>();
        const std::size_t smallestLine = kSmallestString + (kind == kAxeProfilFermees ? kSmallestCount : 0);
        const std::uint32_t count = m_archive.ReadBoundedCount(smallestLine);
        for (std::uint32_t i = 0; i < count; ++i) {
            std::string name;
            m_archive >> name;
            ModalityRecords records;
            if (kind == kAxeProfilFermees)
                records = ReadProfileModalities();
            AddProfileLine(*profile, kind, name, records);
        }
        return profile;
    }

    ModalityRecords ReadProfileModalities() {
        ModalityRecords records;
        const std::uint32_t count = m_archive.ReadBoundedCount(kSmallestProfileModality);
        records.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            ModalityRecord record;
            m_archive >> record.index;
            const Flags flags = ReadFlags();
            record.withOptions = true;
            for (std::size_t k = 0; k < kStoredOptionOrder.size(); ++k)
                record.options[kStoredOptionOrder[k]] = flags[k];
            records.push_back(record);
        }
        return records;
    }

    // Older files: per line the question and a plain list of modality indexes.
    std::unique_ptr<CProfil> ReadProfileIndexLists(std::int16_t kind) {
        auto profile = std::make_unique<CProfil>();
        const std::uint32_t count = m_archive.ReadBoundedCount(kSmallestIndexListLine);
        for (std::uint32_t i = 0; i < count; ++i) {
            std::string name;
            m_archive >> name;
            ModalityRecords records;
            const std::uint32_t indexCount = m_archive.ReadBoundedCount(kIndexSize);
            records.reserve(indexCount);
            for (std::uint32_t k = 0; k < indexCount; ++k) {
                std::uint32_t index = 0;
                m_archive >> index;
                ModalityRecord record;
                if (index <= static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max()))
                    record.index = static_cast<std::int32_t>(index);
                records.push_back(record);
            }
            AddProfileLine(*profile, kind, name, records);
        }
        return profile;
    }

    // Appends the line a stored sub-profile stands for: a separator for an empty name; else the
    // question when it is found and of the axis' kind, with (kind 2) copies of its modalities at
    // the stored indexes, when at least one is still there. A modality stored without options
    // keeps those it has in the survey.
    void AddProfileLine(CProfil& profile, std::int16_t kind, const std::string& name, const ModalityRecords& records) {
        if (name.empty()) {
            profile.AddSeparator();
            return;
        }
        CQuestionEtendue* question = FindQuestion(name);
        if (!question)
            return;
        switch (kind) {
        case kAxeProfilFermees: {
            std::vector<std::unique_ptr<CModaliteEtendue>> kept;
            for (const ModalityRecord& record : records) {
                const CModaliteEtendue* modality = question->GetModaliteEtendue(record.index);
                if (!modality) {
                    InvalidateModality(*question, record.index);
                    continue;
                }
                kept.push_back(std::make_unique<CModaliteEtendue>(*modality));
                if (record.withOptions)
                    kept.back()->displayOptions = record.options;
            }
            if (!kept.empty())
                profile.Add(question, kept);
            break;
        }
        case kAxeProfilNumeriques:
            if (question->EstNumerique())
                profile.Add(question);
            else
                Invalidate(Missing::QuestionNotNumeric, name);
            break;
        default:
            if (question->EstOuverte())
                profile.Add(question);
            else
                Invalidate(Missing::QuestionNotOpen, name);
            break;
        }
    }

    // ---- Level, study field, weighting

    void ResolveLevel(std::int32_t code) {
        int index = 0;
        if (m_context && TrouverIndexNiveau(code, index, *m_context)) {
            m_request.level = index;
            return;
        }
        m_request.level = 0;
        Invalidate(Missing::Level, std::to_string(code));
    }

    // -1 for all interviews (an empty name or the entry of all interviews); the id of the study
    // field of that name; -1 and the request invalid when the survey has none.
    std::int32_t ResolveStudyField(const std::string& name) {
        if (name.empty() || name == StringTable::Text(StringTable::kToutesLesInterviews))
            return -1;
        IdNameList list;
        std::int32_t id = -1;
        if (m_context && m_context->DonnerListeChampsEtude(list) && IdOfName(list, name, id))
            return id;
        Invalidate(Missing::StudyField, name);
        return -1;
    }

    std::int32_t ResolveWeighting(const std::string& name) {
        if (name.empty() || name == StringTable::Text(StringTable::kAucunRedressement))
            return -1;
        IdNameList list;
        std::int32_t id = -1;
        if (m_context && m_context->DonnerListeRedressements(list) && IdOfName(list, name, id))
            return id;
        Invalidate(Missing::Weighting, name);
        return -1;
    }

    CTraitement& m_request;
    CArchiveVersion& m_archive;
    CContexteEtude* m_context;
};

void CTraitement::Serialize(CArchiveVersion& archive) {
    if (archive.IsStoring()) {
        ArchiveWriter(*this, archive).Write();
        return;
    }
    CTraitement loaded;
    ArchiveReader(loaded, archive).Read();
    TakeLoaded(loaded);
}
