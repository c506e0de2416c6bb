#include "openanswers/OuvCorpus.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <new>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "app/ContexteEtude.h"
#include "app/DBQuestionnaire.h"
#include "app/DataAccess.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "app/VecteurPoids.h"
#include "app/WorkerPool.h"
#include "openanswers/DictionaryOrder.h"
#include "openanswers/LexicalCacheFiles.h"
#include "openanswers/Tokenizer.h"
#include "platform/questionnaire/ArchiveException.h"
#include "platform/questionnaire/ArchiveVersion.h"
#include "tabulation/MoteurTableau.h"

namespace {

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

void RemoveFile(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

// The id of each form met while the answers are cut, by its text: an open-addressing table of
// ids (a power of two of slots, half full at most), for this is the innermost loop of a build.
class FormIds {
public:
    FormIds() : m_slots(1024, kEmpty) {}

    // The id of the text among `texts`; texts.size() (to be appended by the caller) when new.
    std::uint32_t Find(std::string_view text, const std::vector<std::string>& texts) {
        const std::uint64_t hash = Hash(text);
        std::size_t slot = hash & (m_slots.size() - 1);
        for (;; slot = (slot + 1) & (m_slots.size() - 1)) {
            const std::uint32_t id = m_slots[slot];
            if (id == kEmpty)
                break;
            if (m_hashes[id] == hash && texts[id] == text)
                return id;
        }
        const auto id = static_cast<std::uint32_t>(texts.size());
        m_slots[slot] = id;
        m_hashes.push_back(hash);
        if (2 * m_hashes.size() > m_slots.size())
            Grow();
        return id;
    }

private:
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;

    static std::uint64_t Hash(std::string_view text) {
        std::uint64_t hash = 14695981039346656037ull; // FNV-1a
        for (const char c : text)
            hash = (hash ^ static_cast<std::uint8_t>(c)) * 1099511628211ull;
        return hash ^ (hash >> 29);
    }
    void Grow() {
        std::vector<std::uint32_t> slots(2 * m_slots.size(), kEmpty);
        for (std::uint32_t id = 0; id < m_hashes.size(); ++id) {
            std::size_t slot = m_hashes[id] & (slots.size() - 1);
            while (slots[slot] != kEmpty)
                slot = (slot + 1) & (slots.size() - 1);
            slots[slot] = id;
        }
        m_slots = std::move(slots);
    }

    std::vector<std::uint32_t> m_slots;
    std::vector<std::uint64_t> m_hashes; // by id
};

// The positions of ids in the dictionary: ids written by Sauver are 0 .. F - 1, kept in a
// vector; other ids go through a hash map.
class IdPositions {
public:
    explicit IdPositions(const std::vector<std::int32_t>& ids) {
        const auto count = static_cast<std::int64_t>(ids.size());
        m_dense = std::all_of(ids.begin(), ids.end(), [&](std::int32_t id) { return id >= 0 && id < count; });
        if (m_dense)
            m_positions.assign(ids.size(), 0);
        else
            m_map.reserve(ids.size());
        for (std::size_t i = 0; i < ids.size(); ++i) {
            if (m_dense)
                m_positions[static_cast<std::size_t>(ids[i])] = static_cast<std::uint32_t>(i);
            else
                m_map.emplace(ids[i], static_cast<std::uint32_t>(i));
        }
    }
    bool Find(std::uint32_t id, std::uint32_t& position) const {
        if (m_dense) {
            if (id >= m_positions.size())
                return false;
            position = m_positions[id];
            return true;
        }
        const auto it = m_map.find(static_cast<std::int32_t>(id));
        if (it == m_map.end())
            return false;
        position = it->second;
        return true;
    }

private:
    bool m_dense = true;
    std::vector<std::uint32_t> m_positions;
    std::unordered_map<std::int32_t, std::uint32_t> m_map;
};

} // namespace

COuvCorpus::COuvCorpus(CContexteEtude& survey, CQuestionEtendue& question)
    : m_survey(survey), m_question(question), m_answerCount(survey.DonnerNbreInterviews()) {}

COuvCorpus::~COuvCorpus() = default;

std::string COuvCorpus::CheminFichier(const char* prefix) const {
    const std::string folder = m_survey.DonnerRepertoireInversion();
    if (folder.empty())
        return {};
    return (std::filesystem::path(folder) / LexicalCacheFiles::Nom(prefix, m_question)).string();
}

void COuvCorpus::Vider() {
    m_entries.clear();
    m_segments.clear();
    m_indexedSegments = kNoIndex;
    m_corpus.clear();
    m_corpus.shrink_to_fit();
    m_plainForms = 0;
    m_nextId = 0;
}

// ---- Building and loading ------------------------------------------------------------------

bool COuvCorpus::Ouvrir() {
    m_error = Message();
    if (m_question.level != 0) {
        m_error = Message(StringTable::kOuverteHorsNiveauInterview, {m_question.GetCaption()});
        return false;
    }
    if (Charger())
        return true;
    if (!Sauver())
        return false;
    if (Charger())
        return true;
    m_error = Message(StringTable::kOuverteLectureImpossible,
                      {m_question.GetCaption(), StringTable::Text(StringTable::kLectureImpossible)});
    return false;
}

bool COuvCorpus::Relire() {
    RemoveFile(CheminFichier("Sgm"));
    RemoveFile(CheminFichier("Lem"));
    Vider();
    if (!Sauver())
        return false;
    return Charger();
}

bool COuvCorpus::Sauver() {
    Vider();
    if (!m_survey.CreerRepertoireInversion()) {
        m_error = Message(StringTable::kOuverteCacheImpossible, {m_question.GetCaption(), m_survey.DonnerRepertoireInversion()});
        return false;
    }
    std::vector<std::string> answers;
    {
        CDataAccess access(m_survey, true);
        if (!access.LireReponsesOuvertes(m_question, answers)) {
            m_error = Message(StringTable::kOuverteLectureImpossible, {m_question.GetCaption(), access.GetErrorText()});
            return false;
        }
    }
    // The segments name forms by their positions in this dictionary: they go with it.
    RemoveFile(CheminFichier("Sgm"));

    Decoupage cut = DecouperReponses(answers);
    const std::string crpPath = CheminFichier("Crp");
    try {
        const std::uint64_t total = cut.ids.size() - answers.size();
        if (total > 0xFFFFFFFEu)
            throw ArchiveException(ArchiveException::Reason::BadCount, "corpus too long");
        CArchiveVersion crp(crpPath, CArchiveVersion::Mode::Store);
        crp.WriteCount(static_cast<std::uint32_t>(answers.size()));
        for (std::size_t start = 0, end = 0; start < cut.ids.size(); start = end + 1) {
            end = start;
            while (cut.ids[end] != kFinReponse)
                ++end;
            LexicalCacheFiles::EcrireReponse(crp, std::span<const std::uint32_t>(cut.ids).subspan(start, end - start));
        }
        crp.Close();

        m_entries.reserve(cut.texts.size());
        for (std::size_t id = 0; id < cut.texts.size(); ++id) {
            auto form = std::make_unique<CForme>(static_cast<std::int32_t>(id), std::move(cut.texts[id]));
            form->frequency = cut.frequencies[id];
            m_entries.push_back(std::move(form));
        }
        std::sort(m_entries.begin(), m_entries.end(),
                  [](const auto& a, const auto& b) { return DictionaryOrder::Avant(a->text, b->text); });
        m_plainForms = GetNbreFormes();
        m_nextId = m_plainForms;
        CArchiveVersion dic(CheminFichier("Dic"), CArchiveVersion::Mode::Store);
        LexicalCacheFiles::EcrireDictionnaire(dic, static_cast<std::uint32_t>(total), m_entries);
        dic.Close();
    } catch (const ArchiveException& e) {
        Vider();
        m_error = Message(StringTable::kOuverteCacheImpossible, {m_question.GetCaption(), e.what()});
        return false;
    }
    return true;
}

namespace {

// Below this many answers the cut runs on the calling thread alone.
constexpr std::size_t kAnswersPerThread = 10000;

COuvCorpus::Decoupage CutAnswers(std::span<const std::string> answers) {
    COuvCorpus::Decoupage cut;
    std::size_t bytes = 0;
    for (const std::string& answer : answers)
        bytes += answer.size();
    // About one form in six bytes of text.
    cut.ids.reserve(answers.size() + bytes / 6);
    FormIds ids;
    for (const std::string& answer : answers) {
        Tokenizer::Decouper(answer, [&](std::string_view token) {
            const std::uint32_t id = ids.Find(token, cut.texts);
            if (id == cut.texts.size()) {
                cut.texts.emplace_back(token);
                cut.frequencies.push_back(0);
            }
            ++cut.frequencies[id];
            cut.ids.push_back(id);
        });
        cut.ids.push_back(COuvCorpus::kFinReponse);
    }
    return cut;
}

} // namespace

COuvCorpus::Decoupage COuvCorpus::DecouperReponses(std::span<const std::string> answers) {
    WorkerPool& pool = WorkerPool::Shared();
    const std::size_t chunks = std::clamp<std::size_t>(answers.size() / kAnswersPerThread, 1, pool.ThreadCount());
    if (chunks == 1)
        return CutAnswers(answers);
    // Each thread cuts a run of answers with ids of its own; the runs are then put together in
    // answer order, so a form's id is the order in which the whole corpus first meets it.
    std::vector<Decoupage> parts(chunks);
    const auto begin = [&](std::size_t c) { return answers.size() * c / chunks; };
    pool.Run(static_cast<int>(chunks), [&](int c) {
        const std::size_t part = static_cast<std::size_t>(c);
        parts[part] = CutAnswers(answers.subspan(begin(part), begin(part + 1) - begin(part)));
    });
    Decoupage cut;
    FormIds ids;
    std::vector<std::vector<std::uint32_t>> global(chunks);
    std::vector<std::size_t> offsets(chunks + 1, 0);
    for (std::size_t c = 0; c < chunks; ++c) {
        Decoupage& part = parts[c];
        for (std::size_t local = 0; local < part.texts.size(); ++local) {
            const std::uint32_t id = ids.Find(part.texts[local], cut.texts);
            if (id == cut.texts.size()) {
                cut.texts.push_back(std::move(part.texts[local]));
                cut.frequencies.push_back(0);
            }
            cut.frequencies[id] += part.frequencies[local];
            global[c].push_back(id);
        }
        offsets[c + 1] = offsets[c] + part.ids.size();
    }
    cut.ids.resize(offsets.back());
    pool.Run(static_cast<int>(chunks), [&](int c) {
        const std::size_t part = static_cast<std::size_t>(c);
        std::uint32_t* out = cut.ids.data() + offsets[part];
        for (const std::uint32_t value : parts[part].ids)
            *out++ = value == kFinReponse ? value : global[part][value];
    });
    return cut;
}

bool COuvCorpus::ReadStopWords(std::vector<std::string>& words) const {
    words.clear();
    if (!CDBQuestionnaire::LireMotsVides(words))
        words.clear();
    DictionaryOrder::TrierListe(words);
    return true;
}

bool COuvCorpus::Charger(std::string* dicPath) {
    Vider();
    const std::string path = CheminFichier("Dic");
    if (dicPath != nullptr)
        *dicPath = path;
    if (path.empty())
        return false;
    std::vector<std::string> stopWords;
    ReadStopWords(stopWords);
    try {
        CArchiveVersion dicFile(path, CArchiveVersion::Mode::Load);
        LexicalCacheFiles::Dictionnaire dictionary = LexicalCacheFiles::LireDictionnaire(dicFile);
        dicFile.Close();
        CArchiveVersion crpFile(CheminFichier("Crp"), CArchiveVersion::Mode::Load);
        std::vector<std::uint32_t> corpus = LexicalCacheFiles::LireCorpus(
            crpFile, static_cast<std::uint32_t>(m_survey.DonnerNbreInterviews()), dictionary.total);
        crpFile.Close();

        std::vector<std::unique_ptr<CForme>> entries;
        entries.reserve(dictionary.texts.size());
        std::int32_t nextId = 0;
        for (std::size_t i = 0; i < dictionary.texts.size(); ++i) {
            auto form = std::make_unique<CForme>(dictionary.ids[i], std::move(dictionary.texts[i]));
            form->stopWord = DictionaryOrder::Contient(stopWords, form->text) ? 1 : 0;
            nextId = std::max(nextId, dictionary.ids[i] == INT32_MAX ? INT32_MAX : dictionary.ids[i] + 1);
            entries.push_back(std::move(form));
        }
        const IdPositions positions(dictionary.ids);
        for (std::uint32_t& value : corpus) {
            if (value == kFinReponse)
                continue;
            std::uint32_t position = 0;
            if (!positions.Find(value, position))
                throw ArchiveException(ArchiveException::Reason::BadIndex, "id not in the dictionary");
            value = position;
            entries[position]->Incrementer();
        }
        m_entries = std::move(entries);
        m_corpus = std::move(corpus);
        m_plainForms = GetNbreFormes();
        m_nextId = nextId;
    } catch (const ArchiveException&) {
        Vider();
        return false;
    } catch (const std::bad_alloc&) {
        Vider();
        return false;
    }
    ChargerLemmes();
    return true;
}

// ---- Lemmas ----------------------------------------------------------------------------------

void COuvCorpus::ChargerLemmes() {
    std::vector<LexicalCacheFiles::Lemme> lemmas;
    try {
        CArchiveVersion file(CheminFichier("Lem"), CArchiveVersion::Mode::Load);
        LexicalCacheFiles::LireLemmes(file, lemmas);
    } catch (const ArchiveException&) {
        // A missing or damaged file keeps the lemmas read before the fault.
    } catch (const std::bad_alloc&) {
    }
    std::unordered_set<std::int32_t> usedIds;
    for (int i = 0; i < m_plainForms; ++i)
        usedIds.insert(m_entries[Index(i)]->id);
    for (const auto& lemma : lemmas)
        m_nextId = std::max(m_nextId, lemma.id == INT32_MAX ? INT32_MAX : lemma.id + 1);
    for (auto& lemma : lemmas) {
        auto entry = std::make_unique<CFormeLemmatisee>();
        std::vector<std::int32_t> group;
        for (const std::string& text : lemma.forms) {
            int position = 0;
            if (!ChercherFormeSimple(text, position) || m_entries[Index(position)]->valid == 0)
                continue;
            CForme& form = *m_entries[Index(position)];
            form.valid = 0;
            entry->frequency += form.frequency;
            group.push_back(position);
        }
        if (group.empty())
            continue;
        // An id already held would name two entries: the lemma takes a new one.
        std::int32_t id = lemma.id;
        if (!usedIds.insert(id).second) {
            id = m_nextId++;
            usedIds.insert(id);
        }
        entry->id = id;
        entry->text = std::move(lemma.text);
        entry->SetFormes(group);
        m_entries.push_back(std::move(entry));
    }
}

void COuvCorpus::EcrireLemmes() {
    std::vector<LexicalCacheFiles::Lemme> lemmas;
    for (std::size_t i = Index(m_plainForms); i < m_entries.size(); ++i) {
        const auto* lemma = dynamic_cast<const CFormeLemmatisee*>(m_entries[i].get());
        if (lemma == nullptr || lemma->valid != 1)
            continue;
        LexicalCacheFiles::Lemme record{lemma->text, lemma->id, {}};
        for (const std::int32_t form : lemma->Formes())
            record.forms.push_back(m_entries[Index(form)]->text);
        lemmas.push_back(std::move(record));
    }
    try {
        CArchiveVersion file(CheminFichier("Lem"), CArchiveVersion::Mode::Store);
        LexicalCacheFiles::EcrireLemmes(file, lemmas);
        file.Close();
    } catch (const ArchiveException& e) {
        m_error = Message(StringTable::kOuverteCacheImpossible, {m_question.GetCaption(), e.what()});
    }
}

int COuvCorpus::CreerLemme(const std::vector<int>& selected) {
    auto lemma = std::make_unique<CFormeLemmatisee>();
    std::vector<std::int32_t> group;
    for (const int index : selected) {
        CForme* entry = DonnerForme(index);
        if (entry == nullptr)
            continue;
        lemma->frequency += entry->frequency;
        if (const auto* other = dynamic_cast<const CFormeLemmatisee*>(entry))
            group.insert(group.end(), other->Formes().begin(), other->Formes().end());
        else
            group.push_back(index);
        entry->valid = 0;
    }
    if (CForme* first = selected.empty() ? nullptr : DonnerForme(selected.front()))
        lemma->text = first->text;
    lemma->id = m_nextId++;
    lemma->SetFormes(group);
    m_entries.push_back(std::move(lemma));
    EcrireLemmes();
    return GetNbreFormes() - 1;
}

void COuvCorpus::DissocierLemme(int index, std::vector<int>& out) {
    out.clear();
    auto* lemma = dynamic_cast<CFormeLemmatisee*>(DonnerForme(index));
    if (lemma == nullptr)
        return;
    for (const std::int32_t form : lemma->Formes()) {
        out.push_back(form);
        m_entries[Index(form)]->valid = 1;
    }
    lemma->valid = 0;
    EcrireLemmes();
}

// ---- The dictionary --------------------------------------------------------------------------

bool COuvCorpus::ChercherFormeSimple(std::string_view text, int& position) const {
    int low = 0;
    int high = m_plainForms - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const int order = DictionaryOrder::Comparer(text, m_entries[Index(middle)]->text);
        if (order == 0) {
            position = middle;
            return true;
        }
        if (order > 0)
            low = middle + 1;
        else
            high = middle - 1;
    }
    position = low;
    return false;
}

std::int32_t COuvCorpus::AjouterForme(std::string_view token) {
    const std::string text = Tokenizer::ReplierTexte(token);
    int position = 0;
    if (ChercherFormeSimple(text, position)) {
        m_entries[Index(position)]->Incrementer();
        return m_entries[Index(position)]->id;
    }
    const auto id = static_cast<std::int32_t>(m_entries.size());
    auto form = std::make_unique<CForme>(id, text);
    form->frequency = 1;
    m_entries.insert(m_entries.begin() + position, std::move(form));
    ++m_plainForms;
    return id;
}

void COuvCorpus::DecouperReponse(std::string_view answer, std::vector<std::uint32_t>& ids) {
    Tokenizer::Decouper(answer, [&](std::string_view token) { ids.push_back(static_cast<std::uint32_t>(AjouterForme(token))); });
}

CForme* COuvCorpus::DonnerForme(int index) const {
    if (index < 0 || index >= GetNbreFormes())
        return nullptr;
    return m_entries[Index(index)].get();
}

bool COuvCorpus::ChercherForme(std::string_view text, int& index) const {
    for (int i = 0; i < GetNbreFormes(); ++i) {
        const CForme& entry = *m_entries[Index(i)];
        if (entry.valid != 0 && DictionaryOrder::Comparer(entry.text, text) == 0) {
            index = i;
            return true;
        }
    }
    return false;
}

bool COuvCorpus::ChercherSegment(std::string_view text, int& index) const {
    for (int i = 0; i < GetNbreSegments(); ++i) {
        if (DictionaryOrder::Comparer(m_segments[Index(i)]->text, text) == 0) {
            index = i;
            return true;
        }
    }
    return false;
}

void COuvCorpus::DonnerInterviewsForme(int index, std::vector<std::uint32_t>& out) const {
    const CForme* entry = DonnerForme(index);
    if (entry == nullptr)
        return;
    std::vector<std::int32_t> forms;
    entry->DonnerFormes(forms);
    if (dynamic_cast<const CFormeLemmatisee*>(entry) == nullptr)
        forms.assign(1, index);
    std::vector<bool> wanted(Index(m_plainForms), false);
    for (const std::int32_t form : forms)
        if (form >= 0 && form < m_plainForms)
            wanted[Index(form)] = true;
    std::uint32_t answer = 0;
    for (const std::uint32_t value : m_corpus) {
        if (value == kFinReponse)
            ++answer;
        else if (value < wanted.size() && wanted[value])
            out.push_back(answer);
    }
}

void COuvCorpus::DonnerInterviewsSegment(int index, std::vector<std::uint32_t>& out) const {
    const CSegment* segment = DonnerSegment(index);
    if (segment == nullptr || segment->Sequence().empty())
        return;
    const auto& sequence = segment->Sequence();
    std::uint32_t answer = 0;
    for (std::size_t p = 0; p < m_corpus.size(); ++p) {
        if (m_corpus[p] == kFinReponse) {
            ++answer;
            continue;
        }
        if (p + sequence.size() > m_corpus.size())
            continue;
        if (std::equal(sequence.begin(), sequence.end(), m_corpus.begin() + static_cast<std::ptrdiff_t>(p),
                       [](std::int32_t form, std::uint32_t value) { return static_cast<std::uint32_t>(form) == value; }))
            out.push_back(answer);
    }
}

// ---- Frequencies in a study field ------------------------------------------------------------

namespace {

// The weights of the interviews in the study field, or none with the reason.
bool FieldWeights(CContexteEtude& survey, std::int32_t studyField, std::vector<double>& weights, Message& error) {
    CMoteurTableau engine(survey);
    CVecteurPoids* vector = nullptr;
    std::string text;
    if (!engine.DonnerPoidsInterviews(0, studyField, -1, vector, text)) {
        error = Message::Text(text);
        return false;
    }
    const std::span<const double> values = vector->Valeurs();
    weights.assign(values.begin(), values.end());
    engine.LibererPoids(0, studyField, -1, vector);
    return true;
}

} // namespace

bool COuvCorpus::RecalculerFrequences(std::int32_t studyField) {
    std::vector<double> weights;
    if (!FieldWeights(m_survey, studyField, weights, m_error))
        return false;
    for (auto& entry : m_entries)
        entry->frequency = 0;
    m_answerCount = 0.0;
    std::size_t answer = 0;
    const auto weighs = [&] { return answer < weights.size() && weights[answer] > 0.0; };
    for (const std::uint32_t value : m_corpus) {
        if (value == kFinReponse) {
            if (weighs())
                m_answerCount += 1.0;
            ++answer;
        } else if (weighs() && value < m_entries.size()) {
            m_entries[value]->Incrementer();
        }
    }
    for (std::size_t i = Index(m_plainForms); i < m_entries.size(); ++i) {
        auto* lemma = dynamic_cast<CFormeLemmatisee*>(m_entries[i].get());
        if (lemma == nullptr)
            continue;
        lemma->frequency = 0;
        for (const std::int32_t form : lemma->Formes())
            lemma->frequency += m_entries[Index(form)]->frequency;
    }
    return true;
}

bool COuvCorpus::RecalculerFrequencesSegments(std::int32_t studyField) {
    std::vector<double> weights;
    if (!FieldWeights(m_survey, studyField, weights, m_error))
        return false;
    for (auto& segment : m_segments)
        segment->RecalculerFrequence(weights);
    return true;
}

// ---- The corpus ------------------------------------------------------------------------------

std::vector<std::uint32_t> COuvCorpus::CorpusLemmatise() const {
    std::vector<std::uint32_t> target(Index(m_plainForms));
    for (std::size_t i = 0; i < target.size(); ++i)
        target[i] = static_cast<std::uint32_t>(i);
    for (std::size_t i = Index(m_plainForms); i < m_entries.size(); ++i) {
        const auto* lemma = dynamic_cast<const CFormeLemmatisee*>(m_entries[i].get());
        if (lemma == nullptr || lemma->valid != 1)
            continue;
        // A form already replaced by an earlier lemma is no longer in the copy.
        for (const std::int32_t form : lemma->Formes())
            if (target[Index(form)] == static_cast<std::uint32_t>(form))
                target[Index(form)] = static_cast<std::uint32_t>(i);
    }
    std::vector<std::uint32_t> copy(m_corpus);
    for (std::uint32_t& value : copy)
        if (value < target.size())
            value = target[value];
    return copy;
}

bool COuvCorpus::MatriceTypologie(std::vector<std::uint8_t>& out, const std::vector<int>& active,
                                  const std::vector<int>& illustrative) const {
    const std::size_t rows = Index(std::max(0, static_cast<int>(m_survey.DonnerNbreInterviews())));
    const std::size_t columns = active.size() + illustrative.size();
    out.assign(rows * columns, 0);
    // The column of each entry: its first place among the active, else among the illustrative.
    std::vector<std::int64_t> column(m_entries.size(), -1);
    for (std::size_t k = illustrative.size(); k-- > 0;)
        if (illustrative[k] >= 0 && Index(illustrative[k]) < column.size())
            column[Index(illustrative[k])] = static_cast<std::int64_t>(active.size() + k);
    for (std::size_t k = active.size(); k-- > 0;)
        if (active[k] >= 0 && Index(active[k]) < column.size())
            column[Index(active[k])] = static_cast<std::int64_t>(k);
    std::size_t row = 0;
    for (const std::uint32_t value : CorpusLemmatise()) {
        if (value == kFinReponse) {
            ++row;
            continue;
        }
        if (row < rows && value < column.size() && column[value] >= 0)
            out[row * columns + static_cast<std::size_t>(column[value])] = 1;
    }
    return true;
}

void COuvCorpus::Trier(std::vector<CForme*>& items, int key) {
    const auto byText = [](const CForme* a, const CForme* b) { return DictionaryOrder::Comparer(a->text, b->text); };
    const auto length = [](const CForme* item) {
        const auto* segment = dynamic_cast<const CSegment*>(item);
        return segment != nullptr ? segment->GetLongueur() : 0;
    };
    const auto before = [&](const CForme* a, const CForme* b) {
        switch (key) {
        case kTriTexte:
            return byText(a, b) < 0;
        case kTriFrequence:
            return a->frequency != b->frequency ? a->frequency > b->frequency : byText(a, b) < 0;
        case kTriLongueur:
            return length(a) != length(b) ? length(a) > length(b) : byText(a, b) < 0;
        default:
            return false;
        }
    };
    std::stable_sort(items.begin(), items.end(), before);
}
