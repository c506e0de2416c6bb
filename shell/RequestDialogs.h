#pragma once

#include <cstdint>
#include <memory>

class CQuestionEtendue;
class CTraitement;
class QWidget;

// What the main frame's table commands ask of the request dialogs and of the question picker:
// the program installs an implementation on the main frame (CMainFrame::SetRequestDialogs). A
// command whose dialog is not offered stays disabled.
class RequestDialogs {
public:
    // The questions a request dialog starts from: the question selected in the questionnaire
    // tree, the question of its parent item (null at the root) and the second question chosen
    // with the picker (null when the command asks for none).
    struct Questions {
        CQuestionEtendue* question = nullptr;
        CQuestionEtendue* parent = nullptr;
        CQuestionEtendue* second = nullptr;
    };

    virtual ~RequestDialogs() = default;

    // Whether there is a request dialog for the type of table (CTraitement::TypeTraitement).
    virtual bool HasRequestDialog(std::int16_t type) const = 0;
    // Whether the question picker can be shown.
    virtual bool HasQuestionPicker() const = 0;

    // The question the analyst picks in the picker's mode; null on Cancel.
    virtual CQuestionEtendue* ChoisirQuestion(int mode, QWidget* parent) = 0;
    // The request the analyst defines in the dialog of the type; null on Cancel.
    virtual std::unique_ptr<CTraitement> DemanderTraitement(std::int16_t type, const Questions& questions,
                                                            QWidget* parent) = 0;

protected:
    RequestDialogs() = default;
    RequestDialogs(const RequestDialogs&) = default;
    RequestDialogs& operator=(const RequestDialogs&) = default;
};
