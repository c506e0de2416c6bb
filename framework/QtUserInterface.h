#pragma once

#include <memory>

#include "app/UserInterface.h"

class QProgressDialog;
class QWidget;

// The core's messages as message boxes, its waits as the wait cursor and its long jobs as a
// progress dialog the user may cancel.
class QtUserInterface final : public UserInterface {
public:
    explicit QtUserInterface(QWidget* parent = nullptr);
    ~QtUserInterface() override;

    void ShowMessage(const Message& message, Icon icon) override;
    bool AskYesNo(const Message& question) override;
    Reply AskYesNoCancel(const Message& question) override;
    void BeginWait() override;
    void EndWait() override;
    void BeginProgress(const Message& title, int steps) override;
    bool ReportProgress(int step) override;
    void EndProgress() override;

private:
    QWidget* parent_;
    std::unique_ptr<QProgressDialog> progress_;
};
