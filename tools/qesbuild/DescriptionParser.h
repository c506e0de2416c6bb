#pragma once

#include "tools/qesbuild/FixtureDescription.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qesbuild {

// Turns the text description of a fixture (docs/fixture-format.md) into a FixtureDescription.
// Any fault throws FixtureError naming the file and line; nothing is written anywhere.
class DescriptionParser {
public:
    // `file` names the text in messages; record files are looked up from `baseDirectory`.
    static FixtureDescription Parse(std::string_view text, const std::string& file,
                                    const std::filesystem::path& baseDirectory);
    static FixtureDescription ParseFile(const std::filesystem::path& path);

    // One word of a line: a bare word, a quoted text, or key=value.
    struct Token {
        std::string key; // empty unless written key=value
        std::string value;
        bool quoted = false;
    };

private:
    enum class ItemKind { Chapter, Question, Loop };
    struct OpenBlock {
        ItemKind kind;
        int line;
        std::string name;
    };

    DescriptionParser(const std::string& file, std::filesystem::path baseDirectory);

    void ParseText(std::string_view text);
    void ParseLine(const std::vector<Token>& tokens);
    void Finish();

    void OnQuestionnaire(const std::vector<Token>& tokens);
    void OnLanguage(const std::vector<Token>& tokens);
    void OnClass(const std::vector<Token>& tokens);
    void OnVersion(const std::vector<Token>& tokens);
    void OnInterviewer(const std::vector<Token>& tokens);
    void OnChapter(const std::vector<Token>& tokens);
    void OnQuestion(const std::vector<Token>& tokens);
    void OnLoop(const std::vector<Token>& tokens);
    void OnEnd(const std::vector<Token>& tokens);
    void OnCaption(const std::vector<Token>& tokens);
    void OnLongCaption(const std::vector<Token>& tokens);
    void OnModality(const std::vector<Token>& tokens);
    void OnSemiOpen(const std::vector<Token>& tokens);
    void OnRecords(const std::vector<Token>& tokens);

    CQuestion& AddItem(ItemKind kind, const std::vector<Token>& tokens, std::size_t firstOption);
    void ApplyOption(CQuestion& question, ItemKind kind, const Token& option);
    CQuestion& CurrentItem(std::string_view keyword);
    std::int32_t LanguageOf(const Token& token);
    // Reads "LANG text LANG text ..." from tokens[first] on into the map.
    void ReadCaptions(const std::vector<Token>& tokens, std::size_t first,
                      std::map<std::int32_t, std::string>& captions);

    [[noreturn]] void Fail(const std::string& message) const;
    std::int32_t ToInt(const Token& token, std::string_view what) const;
    double ToDouble(const Token& token, std::string_view what) const;
    const Token& Argument(const std::vector<Token>& tokens, std::size_t index, std::string_view what) const;

    FixtureDescription result_;
    std::filesystem::path baseDirectory_;
    int line_ = 0;
    std::vector<OpenBlock> blocks_;
    CQuestion* current_ = nullptr;
    ItemKind currentKind_ = ItemKind::Question;
    int currentLine_ = 0;
    bool sawQuestionnaire_ = false;
    std::string languageToken_;
    int languageLine_ = 0;
    std::map<std::string, std::int32_t> languageAliases_;
    // Checks made once the whole text is read: references to later lines.
    struct PendingReference {
        int line;
        std::int32_t code;
        std::string what;
    };
    std::vector<PendingReference> classReferences_;
    std::vector<PendingReference> loopReferences_;
    std::map<std::int32_t, ItemKind> codes_;
    std::map<std::string, int> names_;
    // Inline records being collected until "end".
    bool inRecords_ = false;
    std::string recordsText_;
    int recordsFirstLine_ = 0;
};

} // namespace qesbuild
