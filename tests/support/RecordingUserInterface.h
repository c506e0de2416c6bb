#pragma once

#include <deque>
#include <vector>

#include "app/StringTable.h"
#include "app/UserInterface.h"

// A user who reads everything and answers from a script: tests assert what the core said
// ("message 63439 was asked", "the database's text was shown") and what the user replied.
class RecordingUserInterface final : public UserInterface {
public:
    struct Shown {
        Message message;
        Icon icon;
    };

    // Replies to the next questions, in order; when the script runs out the answer is Yes.
    void ScriptReplies(std::vector<bool> replies) { replies_.assign(replies.begin(), replies.end()); }

    void ShowMessage(const Message& message, Icon icon) override { shown.push_back({message, icon}); }
    bool AskYesNo(const Message& question) override {
        asked.push_back(question);
        if (replies_.empty())
            return true;
        const bool reply = replies_.front();
        replies_.pop_front();
        return reply;
    }
    // Replies to the next Yes/No/Cancel questions, in order; when they run out such a question
    // is answered from the Yes/No script.
    void ScriptThreeWayReplies(std::vector<Reply> replies) {
        threeWayReplies_.assign(replies.begin(), replies.end());
    }
    Reply AskYesNoCancel(const Message& question) override {
        if (threeWayReplies_.empty())
            return AskYesNo(question) ? Reply::Yes : Reply::No;
        asked.push_back(question);
        const Reply reply = threeWayReplies_.front();
        threeWayReplies_.pop_front();
        return reply;
    }
    void BeginWait() override { ++waitDepth; ++waitCount; }
    void EndWait() override { --waitDepth; }
    void BeginProgress(const Message& title, int steps) override {
        progressTitles.push_back(title);
        progressSteps = steps;
    }
    bool ReportProgress(int step) override {
        lastProgress = step;
        return !cancelAtStep || step < cancelAtStep;
    }
    void EndProgress() override {}

    // The texts of the messages shown, as the user read them.
    std::vector<std::string> ShownTexts() const {
        std::vector<std::string> texts;
        for (const auto& s : shown)
            texts.push_back(StringTable::Format(s.message));
        return texts;
    }

    std::vector<Shown> shown;
    std::vector<Message> asked;
    std::vector<Message> progressTitles;
    int progressSteps = 0;
    int lastProgress = 0;
    int cancelAtStep = 0; // 0: never cancel
    int waitDepth = 0;
    int waitCount = 0;

private:
    std::deque<bool> replies_;
    std::deque<Reply> threeWayReplies_;
};
