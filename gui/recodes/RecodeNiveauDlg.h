#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <span>
#include <vector>

class CContexteEtude;
class CQuestionEtendue;
class CRecodage;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// What the three dialogs that carry a question to another level share: under "Question source"
// the question's name and level, under "Nouvelle question" the label of the new question and the
// target level with a "..." button (the levels above the question's), and the method radios of
// the kind. The dialog owns its working recode, a new one or a copy of the recode of the question
// being edited; OK checks the label, fills the recode and stores it, and the survey adds or
// rebuilds the question. After a refusal or a failed save the dialog stays open, nothing written.
class RecodeNiveauDialog : public QDialog {
    Q_OBJECT

public:
    // Asks for a level among those above the source's level, starting on the current target;
    // false when the user cancels. The level dialog belongs to the request dialogs, which sit
    // above this folder: the caller hands it in.
    using LevelChooser = std::function<bool(int current, int sourceLevel, QWidget* parent, int& chosen)>;

    ~RecodeNiveauDialog() override;

    // Without a chooser the "..." button is disabled.
    void SetLevelChooser(LevelChooser chooser);

    QLineEdit& LabelEdit() const { return *m_label; }
    QPushButton& LevelButton() const { return *m_levelButton; }
    QLabel& TargetLevelLabel() const { return *m_targetLevel; }
    QRadioButton& MethodButton(int method) const { return *m_methods.at(static_cast<std::size_t>(method)); }
    int MethodCount() const { return static_cast<int>(m_methods.size()); }
    QPushButton& OkButton() const { return *m_ok; }
    const CRecodage& Recode() const { return *m_recode; }
    int TargetLevel() const { return m_targetLevelIndex; }

    void accept() override;

protected:
    // `source` is the question carried; `edited`, when the dialog edits an existing recode, the
    // question it made. `methods` are the captions of the method radios, values 0 upward.
    RecodeNiveauDialog(CContexteEtude& context, CQuestionEtendue& source, CQuestionEtendue* edited,
                       std::unique_ptr<CRecodage> fresh, const QString& title, std::span<const char* const> methods,
                       QWidget* parent);

private:
    QString LevelName(int index) const;
    void ChooseLevel();

    CContexteEtude& m_context;
    CQuestionEtendue& m_source;
    CQuestionEtendue* m_edited;
    std::unique_ptr<CRecodage> m_recode;
    int m_targetLevelIndex = 0;
    QLineEdit* m_label;
    QLabel* m_targetLevel;
    QPushButton* m_levelButton;
    std::vector<QRadioButton*> m_methods;
    QPushButton* m_ok = nullptr;
    LevelChooser m_chooser;
};
