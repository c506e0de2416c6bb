#include "tools/qesbuild/DescriptionParser.h"

#include "tools/qesbuild/FixtureError.h"

#include <cctype>
#include <charconv>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <optional>
#include <set>
#include <system_error>

namespace qesbuild {

namespace {

using Token = DescriptionParser::Token;

// The question types a fixture can name, as the model numbers them.
struct NamedType {
    std::string_view word;
    std::int16_t type;
};
constexpr NamedType kQuestionTypes[] = {
    {"closed", 1}, {"date", 3}, {"open", 4}, {"numeric", 5}, {"discrete", 6}, {"interval", 7},
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (IsBlank(text.front()) || text.front() == '\n'))
        text.remove_prefix(1);
    while (!text.empty() && (IsBlank(text.back()) || text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}

// The whole text of a file; nothing when it is not a plain file (a folder, a device that never
// ends) or cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    try {
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::ios_base::failure&) {
        return std::nullopt;
    }
}

// Reads a quoted text starting at text[pos] == '"'; pos ends after the closing quote.
std::string ReadQuoted(std::string_view text, std::size_t& pos,
                       const std::function<void(const std::string&)>& fail) {
    std::string value;
    ++pos;
    for (;;) {
        if (pos >= text.size())
            fail("unterminated quoted text");
        const char c = text[pos++];
        if (c == '"')
            return value;
        if (c != '\\') {
            value += c;
            continue;
        }
        if (pos >= text.size())
            fail("unterminated quoted text");
        const char escaped = text[pos++];
        switch (escaped) {
        case 'n':
            value += '\n';
            break;
        case 't':
            value += '\t';
            break;
        case '"':
            value += '"';
            break;
        case '\\':
            value += '\\';
            break;
        default:
            fail(std::string("unknown escape \\") + escaped + " in a quoted text");
        }
    }
}

std::vector<Token> Tokenize(std::string_view line, const std::function<void(const std::string&)>& fail) {
    std::vector<Token> tokens;
    std::size_t pos = 0;
    for (;;) {
        while (pos < line.size() && IsBlank(line[pos]))
            ++pos;
        if (pos >= line.size() || line[pos] == '#')
            return tokens;
        Token token;
        if (line[pos] == '"') {
            token.value = ReadQuoted(line, pos, fail);
            token.quoted = true;
        } else {
            const std::size_t start = pos;
            while (pos < line.size() && !IsBlank(line[pos]) && line[pos] != '=' && line[pos] != '"')
                ++pos;
            std::string word(line.substr(start, pos - start));
            if (pos < line.size() && line[pos] == '=') {
                ++pos;
                token.key = std::move(word);
                if (token.key.empty())
                    fail("\"=\" without a name before it");
                if (pos < line.size() && line[pos] == '"') {
                    token.value = ReadQuoted(line, pos, fail);
                    token.quoted = true;
                } else {
                    const std::size_t valueStart = pos;
                    while (pos < line.size() && !IsBlank(line[pos]))
                        ++pos;
                    token.value = std::string(line.substr(valueStart, pos - valueStart));
                }
            } else {
                if (pos < line.size() && line[pos] == '"')
                    fail("a quote inside the word \"" + word + "\"");
                token.value = std::move(word);
            }
        }
        if (pos < line.size() && !IsBlank(line[pos]) && line[pos] != '#')
            fail("missing blank after \"" + token.value + "\"");
        tokens.push_back(std::move(token));
    }
}

const char* KindWord(int kind) {
    switch (kind) {
    case 0:
        return "chapter";
    case 2:
        return "loop";
    default:
        return "question";
    }
}

} // namespace

DescriptionParser::DescriptionParser(const std::string& file, std::filesystem::path baseDirectory)
    : baseDirectory_(std::move(baseDirectory)) {
    result_.file = file;
}

FixtureDescription DescriptionParser::Parse(std::string_view text, const std::string& file,
                                            const std::filesystem::path& baseDirectory) {
    DescriptionParser parser(file, baseDirectory);
    parser.ParseText(text);
    parser.Finish();
    return std::move(parser.result_);
}

FixtureDescription DescriptionParser::ParseFile(const std::filesystem::path& path) {
    const std::optional<std::string> text = ReadWholeFile(path);
    if (!text)
        throw FixtureError(path.string(), 0, "cannot read the description");
    return Parse(*text, path.string(), path.parent_path());
}

void DescriptionParser::Fail(const std::string& message) const {
    throw FixtureError(result_.file, line_, message);
}

void DescriptionParser::ParseText(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++line_;
        if (inRecords_) {
            if (Trim(line) == "end") {
                inRecords_ = false;
                FixtureDescription::Records& records = result_.records.back();
                records.table = CsvTable::Parse(recordsText_, result_.file, recordsFirstLine_);
                continue;
            }
            recordsText_.append(line);
            recordsText_ += '\n';
            continue;
        }
        const auto tokens = Tokenize(line, [this](const std::string& message) { Fail(message); });
        if (!tokens.empty())
            ParseLine(tokens);
    }
}

void DescriptionParser::ParseLine(const std::vector<Token>& tokens) {
    using Handler = void (DescriptionParser::*)(const std::vector<Token>&);
    struct Keyword {
        std::string_view word;
        Handler handler;
        bool attribute; // describes the item of the lines above, which stays current
    };
    static constexpr Keyword kKeywords[] = {
        {"questionnaire", &DescriptionParser::OnQuestionnaire, false},
        {"language", &DescriptionParser::OnLanguage, false},
        {"class", &DescriptionParser::OnClass, false},
        {"version", &DescriptionParser::OnVersion, false},
        {"interviewer", &DescriptionParser::OnInterviewer, false},
        {"chapter", &DescriptionParser::OnChapter, false},
        {"question", &DescriptionParser::OnQuestion, false},
        {"loop", &DescriptionParser::OnLoop, false},
        {"end", &DescriptionParser::OnEnd, false},
        {"caption", &DescriptionParser::OnCaption, true},
        {"long", &DescriptionParser::OnLongCaption, true},
        {"modality", &DescriptionParser::OnModality, true},
        {"semiopen", &DescriptionParser::OnSemiOpen, true},
        {"records", &DescriptionParser::OnRecords, false},
    };
    const Token& first = tokens.front();
    if (!first.key.empty() || first.quoted)
        Fail("a line must start with a keyword");
    for (const Keyword& keyword : kKeywords) {
        if (keyword.word != first.value)
            continue;
        if (!keyword.attribute)
            current_ = nullptr;
        (this->*keyword.handler)(tokens);
        return;
    }
    Fail("unknown keyword \"" + first.value + "\"");
}

const Token& DescriptionParser::Argument(const std::vector<Token>& tokens, std::size_t index,
                                         std::string_view what) const {
    if (index >= tokens.size() || !tokens[index].key.empty())
        Fail(tokens.front().value + ": missing " + std::string(what));
    return tokens[index];
}

std::int32_t DescriptionParser::ToInt(const Token& token, std::string_view what) const {
    long long value = 0;
    const std::string& text = token.value;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty() ||
        value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        Fail(std::string(what) + ": \"" + text + "\" is not a whole number");
    return static_cast<std::int32_t>(value);
}

double DescriptionParser::ToDouble(const Token& token, std::string_view what) const {
    double value = 0.0;
    const std::string& text = token.value;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        Fail(std::string(what) + ": \"" + text + "\" is not a number");
    return value;
}

void DescriptionParser::OnQuestionnaire(const std::vector<Token>& tokens) {
    if (sawQuestionnaire_)
        Fail("a second questionnaire line");
    sawQuestionnaire_ = true;
    const Token& name = Argument(tokens, 1, "questionnaire name");
    result_.questionnaire->name = name.value;
    for (std::size_t i = 2; i < tokens.size(); ++i) {
        const Token& option = tokens[i];
        if (option.key == "language") {
            languageToken_ = option.value;
            languageLine_ = line_;
        } else if (option.key == "version") {
            const std::int32_t version = ToInt(option, "version");
            if (version < 400 || version > 405)
                Fail("version " + option.value + " is outside 400 .. 405");
            result_.fileVersion = version;
        } else {
            Fail("unknown questionnaire option \"" + (option.key.empty() ? option.value : option.key) + "\"");
        }
    }
}

void DescriptionParser::OnLanguage(const std::vector<Token>& tokens) {
    const std::int32_t id = ToInt(Argument(tokens, 1, "language id"), "language id");
    const Token& alias = Argument(tokens, 2, "language alias");
    const Token& name = Argument(tokens, 3, "language name");
    if (tokens.size() > 4)
        Fail("language: too many words");
    if (alias.quoted || alias.value.empty() || std::isdigit(static_cast<unsigned char>(alias.value[0])))
        Fail("language: the alias must be a word that does not start with a digit");
    for (const CLanguage& language : result_.questionnaire->languages)
        if (language.id == id)
            Fail("language " + std::to_string(id) + " declared twice");
    if (!languageAliases_.emplace(alias.value, id).second)
        Fail("language alias \"" + alias.value + "\" declared twice");
    result_.questionnaire->AddLanguage(CLanguage(id, name.value));
}

void DescriptionParser::OnClass(const std::vector<Token>& tokens) {
    CQuestionClass questionClass;
    questionClass.code = ToInt(Argument(tokens, 1, "class code"), "class code");
    questionClass.name = Argument(tokens, 2, "class name").value;
    if (tokens.size() > 3)
        Fail("class: too many words");
    for (const CQuestionClass& other : result_.questionnaire->questionClasses)
        if (other.code == questionClass.code)
            Fail("duplicate class code " + std::to_string(questionClass.code));
    result_.questionnaire->questionClasses.push_back(questionClass);
}

void DescriptionParser::OnVersion(const std::vector<Token>& tokens) {
    CVersion version;
    version.code = ToInt(Argument(tokens, 1, "version code"), "version code");
    version.name = Argument(tokens, 2, "version name").value;
    if (tokens.size() > 3)
        Fail("version: too many words");
    for (const CVersion& other : result_.questionnaire->versions)
        if (other.code == version.code)
            Fail("duplicate version code " + std::to_string(version.code));
    result_.questionnaire->versions.push_back(version);
}

void DescriptionParser::OnInterviewer(const std::vector<Token>& tokens) {
    FixtureDescription::Interviewer interviewer;
    interviewer.code = ToInt(Argument(tokens, 1, "interviewer code"), "interviewer code");
    interviewer.name = Argument(tokens, 2, "interviewer name").value;
    if (tokens.size() > 3)
        interviewer.text = Argument(tokens, 3, "interviewer text").value;
    if (tokens.size() > 4)
        Fail("interviewer: too many words");
    for (const auto& other : result_.interviewers)
        if (other.code == interviewer.code)
            Fail("duplicate interviewer code " + std::to_string(interviewer.code));
    result_.interviewers.push_back(std::move(interviewer));
}

CQuestion& DescriptionParser::AddItem(ItemKind kind, const std::vector<Token>& tokens,
                                      std::size_t firstOption) {
    auto question = std::make_unique<CQuestion>();
    question->code = ToInt(Argument(tokens, 1, "code"), "code");
    const Token& name = Argument(tokens, 2, "name");
    question->name = name.value;
    if (question->name.empty())
        Fail("empty name");
    question->depth = static_cast<std::int16_t>(blocks_.size() + 1);
    question->kind = kind == ItemKind::Chapter ? 0 : kind == ItemKind::Loop ? 2 : 1;

    const auto known = codes_.find(question->code);
    if (known != codes_.end() && !(known->second == ItemKind::Loop && kind == ItemKind::Loop))
        Fail("duplicate code " + std::to_string(question->code));
    codes_.emplace(question->code, kind);
    if (!names_.emplace(question->name, line_).second)
        Fail("duplicate name \"" + question->name + "\" (first on line " +
             std::to_string(names_[question->name]) + ")");

    for (std::size_t i = firstOption; i < tokens.size(); ++i)
        ApplyOption(*question, kind, tokens[i]);
    if (question->answerCount > 1)
        question->multipleAnswers = true;

    CQuestion& added = *question;
    result_.questionnaire->AddQuestion(std::move(question));
    current_ = &added;
    currentKind_ = kind;
    currentLine_ = line_;
    return added;
}

void DescriptionParser::ApplyOption(CQuestion& question, ItemKind kind, const Token& option) {
    constexpr unsigned kOnChapter = 1, kOnQuestion = 2, kOnLoop = 4, kOnAll = 7;
    struct Option {
        std::string_view name;
        bool takesValue;
        unsigned allowed;
        void (*apply)(CQuestion&, const Token&, const DescriptionParser&);
    };
    static constexpr Option kOptions[] = {
        {"answers", true, kOnQuestion,
         [](CQuestion& q, const Token& t, const DescriptionParser& p) {
             const std::int32_t n = p.ToInt(t, "answers");
             if (n < 1 || n > 32767)
                 p.Fail("answers must lie in 1 .. 32767");
             q.answerCount = static_cast<std::int16_t>(n);
         }},
        {"multiple", false, kOnQuestion,
         [](CQuestion& q, const Token&, const DescriptionParser&) { q.multipleAnswers = true; }},
        {"noanswer", false, kOnQuestion,
         [](CQuestion& q, const Token&, const DescriptionParser&) { q.hasNoAnswer = 1; }},
        {"ranking", false, kOnQuestion,
         [](CQuestion& q, const Token&, const DescriptionParser&) { q.ranking = 1; }},
        {"min", true, kOnQuestion,
         [](CQuestion& q, const Token& t, const DescriptionParser& p) {
             q.lowerBound = p.ToDouble(t, "min");
         }},
        {"max", true, kOnQuestion,
         [](CQuestion& q, const Token& t, const DescriptionParser& p) {
             q.upperBound = p.ToDouble(t, "max");
         }},
        {"datekind", true, kOnQuestion,
         [](CQuestion& q, const Token& t, const DescriptionParser& p) {
             const std::int32_t n = p.ToInt(t, "datekind");
             if (n < 0 || n > 2)
                 p.Fail("datekind must be 0, 1 or 2");
             q.dateKind = static_cast<std::int16_t>(n);
         }},
        {"semiopen", false, kOnQuestion,
         [](CQuestion& q, const Token&, const DescriptionParser&) { q.semiOpen = true; }},
        {"class", true, kOnAll,
         [](CQuestion& q, const Token& t, const DescriptionParser& p) {
             q.questionClass = p.ToInt(t, "class");
         }},
        {"classattribute", true, kOnAll,
         [](CQuestion& q, const Token& t, const DescriptionParser& p) {
             const std::int32_t n = p.ToInt(t, "classattribute");
             if (n < -32768 || n > 32767)
                 p.Fail("classattribute is a 16-bit number");
             q.classAttribute = static_cast<std::int16_t>(n);
         }},
        {"typeflag", false, kOnAll,
         [](CQuestion& q, const Token&, const DescriptionParser&) { q.typeFlag = true; }},
        {"notinuse", false, kOnAll,
         [](CQuestion& q, const Token&, const DescriptionParser&) { q.inUse = false; }},
        {"notinanalysis", false, kOnAll,
         [](CQuestion& q, const Token&, const DescriptionParser&) { q.inUseForAnalysis = false; }},
        {"count", true, kOnLoop,
         [](CQuestion& q, const Token& t, const DescriptionParser& p) {
             const std::int32_t n = p.ToInt(t, "count");
             if (n < 1 || n > 32767)
                 p.Fail("count must lie in 1 .. 32767");
             q.type = 4;
             q.answerCount = static_cast<std::int16_t>(n);
         }},
        {"nolevel", false, kOnLoop,
         [](CQuestion& q, const Token&, const DescriptionParser&) { q.loopWithoutLevel = true; }},
        {"sharedlevel", true, kOnLoop,
         [](CQuestion& q, const Token& t, const DescriptionParser& p) {
             q.loopSharesLevel = true;
             q.sharedLevelCode = p.ToInt(t, "sharedlevel");
         }},
        {"expand", false, kOnLoop,
         [](CQuestion& q, const Token&, const DescriptionParser&) { q.expandIterations = true; }},
    };
    const std::string& name = option.key.empty() ? option.value : option.key;
    if (option.quoted && option.key.empty())
        Fail("unexpected text \"" + option.value + "\"");
    const unsigned here = kind == ItemKind::Chapter ? kOnChapter
                          : kind == ItemKind::Loop  ? kOnLoop
                                                    : kOnQuestion;
    for (const Option& known : kOptions) {
        if (known.name != name)
            continue;
        if ((known.allowed & here) == 0)
            Fail("option \"" + name + "\" does not apply to a " + KindWord(question.kind));
        if (known.takesValue && option.key.empty())
            Fail("option \"" + name + "\" needs a value (" + name + "=...)");
        if (!known.takesValue && !option.key.empty())
            Fail("option \"" + name + "\" takes no value");
        known.apply(question, option, *this);
        if (name == "class")
            classReferences_.push_back({line_, question.questionClass, "class"});
        if (name == "sharedlevel")
            loopReferences_.push_back({line_, question.sharedLevelCode, "sharedlevel"});
        return;
    }
    Fail("unknown option \"" + name + "\"");
}

void DescriptionParser::OnChapter(const std::vector<Token>& tokens) {
    const CQuestion& chapter = AddItem(ItemKind::Chapter, tokens, 3);
    blocks_.push_back({ItemKind::Chapter, line_, chapter.name});
}

void DescriptionParser::OnQuestion(const std::vector<Token>& tokens) {
    const Token& typeWord = Argument(tokens, 3, "question type");
    std::int16_t type = 0;
    for (const NamedType& named : kQuestionTypes)
        if (named.word == typeWord.value)
            type = named.type;
    if (type == 0 || typeWord.quoted)
        Fail("unknown question type \"" + typeWord.value +
             "\" (closed, discrete, interval, numeric, date, open)");
    CQuestion& question = AddItem(ItemKind::Question, tokens, 4);
    question.type = type;
}

void DescriptionParser::OnLoop(const std::vector<Token>& tokens) {
    const CQuestion& loop = AddItem(ItemKind::Loop, tokens, 3);
    blocks_.push_back({ItemKind::Loop, line_, loop.name});
}

void DescriptionParser::OnEnd(const std::vector<Token>& tokens) {
    if (tokens.size() > 1)
        Fail("end: too many words");
    if (blocks_.empty())
        Fail("end without an open chapter or loop");
    blocks_.pop_back();
}

CQuestion& DescriptionParser::CurrentItem(std::string_view keyword) {
    if (current_ == nullptr)
        Fail(std::string(keyword) + " must follow the line of its question, chapter or loop");
    return *current_;
}

std::int32_t DescriptionParser::LanguageOf(const Token& token) {
    if (!token.key.empty() || token.quoted)
        Fail("expected a language alias or id before \"" + token.value + "\"");
    const auto alias = languageAliases_.find(token.value);
    if (alias != languageAliases_.end())
        return alias->second;
    if (!token.value.empty() && std::isdigit(static_cast<unsigned char>(token.value[0]))) {
        const std::int32_t id = ToInt(token, "language");
        for (const CLanguage& language : result_.questionnaire->languages)
            if (language.id == id)
                return id;
    }
    Fail("unknown language \"" + token.value + "\" (declare it with a language line first)");
}

void DescriptionParser::ReadCaptions(const std::vector<Token>& tokens, std::size_t first,
                                     std::map<std::int32_t, std::string>& captions) {
    for (std::size_t i = first; i < tokens.size(); i += 2) {
        const std::int32_t language = LanguageOf(tokens[i]);
        if (i + 1 >= tokens.size() || !tokens[i + 1].quoted || !tokens[i + 1].key.empty())
            Fail("a quoted caption must follow the language \"" + tokens[i].value + "\"");
        if (!captions.emplace(language, tokens[i + 1].value).second)
            Fail("two captions in the language \"" + tokens[i].value + "\"");
    }
}

void DescriptionParser::OnCaption(const std::vector<Token>& tokens) {
    CQuestion& item = CurrentItem("caption");
    const std::int32_t language = LanguageOf(Argument(tokens, 1, "language"));
    const Token& shortCaption = Argument(tokens, 2, "short caption");
    if (!shortCaption.quoted)
        Fail("caption: the short caption must be quoted");
    if (!item.shortCaptions.emplace(language, shortCaption.value).second)
        Fail("a second short caption in the language \"" + tokens[1].value + "\"");
    if (tokens.size() > 3) {
        const Token& longCaption = Argument(tokens, 3, "long caption");
        if (!longCaption.quoted || tokens.size() > 4)
            Fail("caption: expected LANG \"short\" [\"long\"]");
        if (!item.longCaptions.emplace(language, longCaption.value).second)
            Fail("a second long caption in the language \"" + tokens[1].value + "\"");
    }
}

void DescriptionParser::OnLongCaption(const std::vector<Token>& tokens) {
    CQuestion& item = CurrentItem("long");
    const std::int32_t language = LanguageOf(Argument(tokens, 1, "language"));
    const Token& text = Argument(tokens, 2, "long caption");
    if (!text.quoted || tokens.size() > 3)
        Fail("long: expected LANG \"long caption\"");
    if (!item.longCaptions.emplace(language, text.value).second)
        Fail("a second long caption in the language \"" + tokens[1].value + "\"");
}

void DescriptionParser::OnModality(const std::vector<Token>& tokens) {
    CQuestion& item = CurrentItem("modality");
    const bool loopOverModalities = currentKind_ == ItemKind::Loop && item.type != 4;
    if (!loopOverModalities && !(currentKind_ == ItemKind::Question && item.EstAModalite()))
        Fail("modality: \"" + item.name + "\" takes no modalities");
    auto modality = std::make_unique<CModalite>(ToInt(Argument(tokens, 1, "modality code"), "modality code"));
    for (const auto& other : item.modalities)
        if (other->code == modality->code)
            Fail("duplicate modality code " + std::to_string(modality->code) + " in \"" + item.name + "\"");
    std::size_t next = 2;
    if (next < tokens.size() && tokens[next].key == "value") {
        modality->value = ToDouble(tokens[next], "value");
        ++next;
    }
    ReadCaptions(tokens, next, modality->shortCaptions);
    item.AddModalite(std::move(modality));
}

void DescriptionParser::OnSemiOpen(const std::vector<Token>& tokens) {
    CQuestion& item = CurrentItem("semiopen");
    if (currentKind_ != ItemKind::Question || !item.EstAModalite())
        Fail("semiopen: \"" + item.name + "\" is not a closed question");
    CSemiOpen semiOpen;
    semiOpen.id = ToInt(Argument(tokens, 1, "semi-open id"), "semi-open id");
    bool hasKind = false;
    bool hasModality = false;
    std::size_t next = 2;
    for (; next < tokens.size() && !tokens[next].key.empty(); ++next) {
        if (tokens[next].key == "kind") {
            const std::int32_t kind = ToInt(tokens[next], "kind");
            if (kind < -32768 || kind > 32767)
                Fail("kind is a 16-bit number");
            semiOpen.kind = static_cast<std::int16_t>(kind);
            hasKind = true;
        } else if (tokens[next].key == "modality") {
            semiOpen.modalityCode = ToInt(tokens[next], "modality");
            hasModality = true;
        } else {
            Fail("unknown semiopen option \"" + tokens[next].key + "\"");
        }
    }
    if (!hasKind)
        Fail("semiopen: kind=... is missing");
    if (semiOpen.kind == 1 && !hasModality)
        Fail("semiopen: a semi-open answer of kind 1 needs modality=CODE");
    for (const CSemiOpen& other : item.semiOpens)
        if (other.id == semiOpen.id)
            Fail("duplicate semi-open id " + std::to_string(semiOpen.id));
    ReadCaptions(tokens, next, semiOpen.shortCaptions);
    item.semiOpens.push_back(std::move(semiOpen));
    item.semiOpen = true;
}

void DescriptionParser::OnRecords(const std::vector<Token>& tokens) {
    if (!blocks_.empty())
        Fail("records inside a chapter or loop");
    FixtureDescription::Records records;
    records.line = line_;
    std::string fileName;
    for (std::size_t i = 1; i < tokens.size(); ++i) {
        if (tokens[i].key == "loop") {
            records.loopCode = ToInt(tokens[i], "loop");
            loopReferences_.push_back({line_, *records.loopCode, "records loop"});
        } else if (tokens[i].key.empty() && fileName.empty()) {
            fileName = tokens[i].value;
        } else {
            Fail("records: expected [loop=CODE] [\"file.csv\"]");
        }
    }
    for (const auto& other : result_.records)
        if (other.loopCode == records.loopCode)
            Fail(records.loopCode ? "records of loop " + std::to_string(*records.loopCode) + " given twice"
                                  : std::string("records of the interviews given twice"));
    if (fileName.empty()) {
        inRecords_ = true;
        recordsText_.clear();
        recordsFirstLine_ = line_ + 1;
        result_.records.push_back(std::move(records));
        return;
    }
    const std::filesystem::path path = baseDirectory_ / fileName;
    const std::optional<std::string> text = ReadWholeFile(path);
    if (!text)
        Fail("cannot read the records file \"" + path.string() + "\"");
    records.table = CsvTable::Parse(*text, path.string());
    result_.records.push_back(std::move(records));
}

void DescriptionParser::Finish() {
    if (inRecords_)
        throw FixtureError(result_.file, recordsFirstLine_ - 1, "records without their closing \"end\" line");
    if (!blocks_.empty()) {
        const OpenBlock& open = blocks_.back();
        throw FixtureError(result_.file, open.line,
                           std::string(open.kind == ItemKind::Loop ? "loop" : "chapter") + " \"" + open.name +
                               "\" has no \"end\" line");
    }
    CQuestionnaire& questionnaire = *result_.questionnaire;
    for (const auto& question : questionnaire.questions) {
        if (question->kind == 2 && question->type != 4 && question->modalities.empty()) {
            line_ = names_[question->name];
            Fail("loop \"" + question->name + "\" needs count=N or modality lines");
        }
    }
    for (const PendingReference& reference : classReferences_) {
        bool found = false;
        for (const CQuestionClass& questionClass : questionnaire.questionClasses)
            found = found || questionClass.code == reference.code;
        if (!found)
            throw FixtureError(result_.file, reference.line,
                               "class " + std::to_string(reference.code) + " is not declared");
    }
    for (const PendingReference& reference : loopReferences_) {
        const auto known = codes_.find(reference.code);
        if (known == codes_.end() || known->second != ItemKind::Loop)
            throw FixtureError(result_.file, reference.line,
                               reference.what + ": " + std::to_string(reference.code) +
                                   " is not the code of a loop");
    }
    if (!languageToken_.empty()) {
        line_ = languageLine_;
        Token token;
        token.value = languageToken_;
        questionnaire.language = LanguageOf(token);
    } else if (!questionnaire.languages.empty()) {
        questionnaire.language = questionnaire.languages.front().id;
    }
    questionnaire.majorVersion = result_.fileVersion / 100;
    questionnaire.minorVersion = result_.fileVersion % 100;
}

} // namespace qesbuild
