#pragma once

#include <QPlainTextEdit>
#include <QTimer>

class CContexteEtude;
class CQuestionEtendue;
class QContextMenuEvent;
class ScriptHighlighter;

// The page of a "Par script" variable: the script as the user types it, its keywords, numbers and
// question references coloured half a second after the last change (each change postpones the
// colouring), a context menu that inserts a question reference, and "Compiler", which checks the
// script and shows its first fault in place.
class CCalExpressionPage : public QPlainTextEdit {
    Q_OBJECT

public:
    // Commands of the context menu.
    static constexpr int ID_INSERER_QUESTION = 32866;
    static constexpr int ID_COMPILER = 32867;
    // The pause in typing after which the script is coloured, in milliseconds.
    static constexpr int kDelaiColoration = 500;

    // The questions the script names are looked up in the context's survey, and messages shown
    // through its user interface.
    explicit CCalExpressionPage(CContexteEtude& context, QWidget* parent = nullptr);
    ~CCalExpressionPage() override;

    // Replaces the script and colours it at once, without waiting.
    void SetText(const QString& text);
    QString GetText() const;

    // Checks the script; on a fault selects the faulty text or token and shows the message.
    // True when the script is correct (the selection is then left as it was).
    bool CompilerTexte();
    // "Insérer une question...": the question chosen in the selection dialog, as "??NAME??" in
    // place of the selection.
    void OnInsererQuestion();
    // The reference to the question in place of the selection, as one change that can be undone.
    void InsererReference(const CQuestionEtendue& question);
    // "Compiler": CompilerTexte, and "Pas d'erreur" when the script is correct.
    void OnCompiler();

    // Whether a colouring waits for the pause in typing.
    bool ColorationEnAttente() const { return m_timer.isActive(); }

signals:
    // The script has just been coloured.
    void Recoloree();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void OnChange();
    void OnTimer();
    void Recolorer();
    // Selects the characters [first, first + count) of the script, counted as the cutting counts
    // them (code points).
    void Selectionner(int first, int count);

    CContexteEtude& m_context;
    ScriptHighlighter* m_highlighter = nullptr;
    QTimer m_timer;
    // Set while the page changes colours or text itself, so that its own changes start no
    // colouring.
    bool m_recoloration = false;
};
