#pragma once

#include "app/UserInterface.h"

// The user interface of a context that nobody gave one: it shows nothing, answers No to every
// question (the answer that changes nothing) and never cancels a progress.
class SilentUserInterface final : public UserInterface {
public:
    void ShowMessage(const Message&, Icon) override {}
    bool AskYesNo(const Message&) override { return false; }
    void BeginWait() override {}
    void EndWait() override {}
    void BeginProgress(const Message&, int) override {}
    bool ReportProgress(int) override { return true; }
    void EndProgress() override {}
};
