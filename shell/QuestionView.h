#pragma once

#include "framework/View.h"

#include <QString>
#include <QWidget>

class CPageQuestionsCalculsDlg;
class CQuestionDoc;
class CQuestionEtendue;
class QLabel;
class QVBoxLayout;

// The form of one question: its name, caption, kind, number of answers and level and, for a
// question with modalities, the page of its modalities. What the analyst changes on that page
// (which modalities are shown, their display options, their captions in the current language)
// goes onto the question's own modalities at once, and the next request starts from it.
class CQuestionView : public QWidget, public CView {
    Q_OBJECT

public:
    // The texts the form shows.
    struct Texts {
        QString name;
        QString caption;
        QString type;
        QString answerCount;
        QString level;
        // Whether the question has modalities, listed under the texts.
        bool hasModalityPage = false;
    };

    explicit CQuestionView(QWidget* parent = nullptr);

    void OnInitialUpdate() override;

    // The form's texts for a question (the level's name read from its survey).
    static Texts TextsOf(const CQuestionEtendue& question);
    const Texts& GetTexts() const { return m_texts; }
    // The page of the question's modalities; null for a question without.
    CPageQuestionsCalculsDlg* GetPageModalites() const { return m_page; }

private:
    CQuestionDoc* GetQuestionDoc() const;
    void ShowTexts();
    void ShowModalityPage(CQuestionEtendue& question);
    // Copies each line of the page onto the question's modality of the same index.
    void AppliquerModalites();

    Texts m_texts;
    QLabel* m_name;
    QLabel* m_caption;
    QLabel* m_type;
    QLabel* m_answerCount;
    QLabel* m_level;
    QVBoxLayout* m_layout;
    CPageQuestionsCalculsDlg* m_page = nullptr;
};
