#pragma once

#include "gui/statistics/AnalysisFormView.h"

class COuvCorpus;
class CQuestionEtendue;
class QButtonGroup;
class QLabel;
class QSpinBox;

// The form shared by the windows that show, for each category of a closed question to explain,
// a table of what characterises the category in the open answers: its specific forms, its
// specific repeated segments, or its characteristic answers. "..." chooses the question to
// explain, "&Recalculer" lists one table per category in the tree; a double click opens one.
class OuvCategoriesView : public AnalysisFormView {
public:
    enum Controle {
        kNombre = 1005,
        kChoisirQuestion = 1006,
        kFrequenceMinimale = 1007,
        kLibelleQuestion = 1080,
        kRecalculer = 1084,
        kCorpusBrut = 1085,
        kCorpusLemmatise = 1086,
        kReponsesLongues = 1087,
        kReponsesCourtes = 1088,
    };
    enum Genre { kFormes, kSegments, kReponses };

    void OnInitialUpdate() override;

    // The question to explain, as "..." chooses it.
    void SetQuestionExpliquee(CQuestionEtendue* question);
    void OnChoisirQuestion();
    void OnRecalculer();

    QSpinBox& GetNombre() const { return *m_count; }
    QSpinBox& GetFrequenceMinimale() const { return *m_minimum; }
    QButtonGroup& GetCorpus() const { return *m_corpus; }
    QButtonGroup& GetMethode() const { return *m_method; }

protected:
    explicit OuvCategoriesView(Genre genre, QWidget* parent = nullptr);

private:
    COuvCorpus* GetCorpusOuvert() const;

    Genre m_genre;
    CQuestionEtendue* m_explained = nullptr;
    QSpinBox* m_count;
    QSpinBox* m_minimum;
    QLabel* m_caption;
    QButtonGroup* m_corpus;
    QButtonGroup* m_method;
};
