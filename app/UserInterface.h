#pragma once

#include <string>

#include "app/Message.h"

// The one way the core talks to the user. The core never opens a window: the study context owns
// an implementation that the shell provides with message boxes, and tests provide one that
// records what was said and answers scripted replies.
class UserInterface {
public:
    enum class Icon { Information, Warning, Error, Question };

    virtual ~UserInterface() = default;

    enum class Reply { Yes, No, Cancel };

    virtual void ShowMessage(const Message& message, Icon icon) = 0;
    // A Yes/No question; true for Yes.
    virtual bool AskYesNo(const Message& question) = 0;
    // A Yes/No/Cancel question (save the changes, drop them, or stay). An interface that cannot
    // offer Cancel asks Yes/No.
    virtual Reply AskYesNoCancel(const Message& question) {
        return AskYesNo(question) ? Reply::Yes : Reply::No;
    }

    // Long operations: the wait cursor, and a progress report the user may cancel. Report answers
    // false when the user asked to stop.
    virtual void BeginWait() = 0;
    virtual void EndWait() = 0;
    virtual void BeginProgress(const Message& title, int steps) = 0;
    virtual bool ReportProgress(int step) = 0;
    virtual void EndProgress() = 0;

protected:
    UserInterface() = default;
    UserInterface(const UserInterface&) = default;
    UserInterface& operator=(const UserInterface&) = default;
};

// Shows the wait cursor for the life of a scope.
class WaitCursor {
public:
    explicit WaitCursor(UserInterface& ui) : ui_(ui) { ui_.BeginWait(); }
    ~WaitCursor() { ui_.EndWait(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    UserInterface& ui_;
};
