#pragma once

#include "platform/questionnaire/Language.h"

#include <QDialog>
#include <cstdint>
#include <vector>

class QPushButton;
class QTreeWidget;

// "Langues": the questionnaire's languages by name and abbreviation, the language in force
// selected; OK with a language selected makes it the one chosen, OK with none does nothing.
class CLanguesDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 192 };
    static constexpr int kColumnWidth = 140;

    // The languages stay the caller's and must outlive the dialog.
    CLanguesDlg(const std::vector<CLanguage>& languages, std::int32_t current, QWidget* parent = nullptr);

    // After OK: the id of the language chosen.
    std::int32_t GetLangueChoisie() const { return m_chosen; }

    void accept() override;

    QTreeWidget& GetList() const { return *m_list; }
    QPushButton& OkButton() const { return *m_ok; }
    QPushButton& AnnulerButton() const { return *m_cancel; }

private:
    const std::vector<CLanguage>& m_languages;
    std::int32_t m_chosen;
    QTreeWidget* m_list;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
