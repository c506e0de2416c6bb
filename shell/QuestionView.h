#pragma once

#include "framework/View.h"

#include <QString>
#include <QWidget>

class CQuestionDoc;
class CQuestionEtendue;
class QLabel;

// The form of one question: its name, caption, kind, number of answers and level.
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

private:
    CQuestionDoc* GetQuestionDoc() const;
    void ShowTexts();

    Texts m_texts;
    QLabel* m_name;
    QLabel* m_caption;
    QLabel* m_type;
    QLabel* m_answerCount;
    QLabel* m_level;
};
