#include "gui/variables/CalExpressionPage.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "gui/requests/SelQuestionDlg.h"
#include "variables/ScriptLexer.h"
#include "variables/ScriptProgram.h"
#include "gui/variables/ScriptHighlighter.h"

#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QKeySequence>
#include <QMenu>
#include <QTextCursor>
#include <QTextDocument>
#include <string>
#include <vector>

namespace {

QColor Couleur(std::uint32_t colorRef) {
    return QColor(static_cast<int>(colorRef & 0xFFU), static_cast<int>((colorRef >> 8) & 0xFFU),
                  static_cast<int>((colorRef >> 16) & 0xFFU));
}

// The positions, in UTF-16 units of the text, of each code point and of the end: the cutting
// counts code points, the document UTF-16 units.
std::vector<int> PositionsDesCaracteres(const QString& text) {
    std::vector<int> positions;
    positions.reserve(static_cast<std::size_t>(text.size()) + 1);
    for (int i = 0; i < text.size(); ++i) {
        positions.push_back(i);
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
    }
    positions.push_back(static_cast<int>(text.size()));
    return positions;
}

int PositionDe(const std::vector<int>& positions, int character) {
    if (character <= 0)
        return 0;
    if (static_cast<std::size_t>(character) >= positions.size())
        return positions.back();
    return positions[static_cast<std::size_t>(character)];
}

} // namespace

CCalExpressionPage::CCalExpressionPage(CContexteEtude& context, QWidget* parent)
    : QPlainTextEdit(parent), m_context(context) {
    setObjectName(QStringLiteral("CCalExpressionPage"));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setFocusPolicy(Qt::StrongFocus);
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDelaiColoration);
    connect(&m_timer, &QTimer::timeout, this, &CCalExpressionPage::OnTimer);
    // Made before the highlighter, so that a changed line is known stale before it is coloured.
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (!m_recoloration && (removed != 0 || added != 0) && m_highlighter != nullptr)
            m_highlighter->Perimer();
    });
    m_highlighter = new ScriptHighlighter(document());
    connect(this, &QPlainTextEdit::textChanged, this, &CCalExpressionPage::OnChange);
}

CCalExpressionPage::~CCalExpressionPage() = default;

void CCalExpressionPage::SetText(const QString& text) {
    m_recoloration = true;
    setPlainText(text);
    Recolorer();
    m_recoloration = false;
    m_timer.stop();
}

QString CCalExpressionPage::GetText() const { return toPlainText(); }

void CCalExpressionPage::OnChange() {
    if (m_recoloration)
        return;
    m_highlighter->Perimer();
    m_timer.start();
}

void CCalExpressionPage::OnTimer() {
    m_recoloration = true;
    Recolorer();
    m_recoloration = false;
    m_timer.stop();
}

void CCalExpressionPage::Recolorer() {
    const QString text = toPlainText();
    ScriptLexing lexing;
    LexerScript(text.toStdString(), ScriptLexer::kColorer, m_context, lexing);
    const std::vector<int> positions = PositionsDesCaracteres(text);
    std::vector<ScriptHighlighter::Span> spans;
    spans.reserve(lexing.spans.size());
    for (const ScriptColourSpan& span : lexing.spans) {
        const int start = PositionDe(positions, span.position);
        const int end = PositionDe(positions, span.position + span.length);
        spans.push_back({start, end - start, Couleur(span.colour)});
    }
    m_highlighter->Colorer(std::move(spans));
    emit Recoloree();
}

void CCalExpressionPage::Selectionner(int first, int count) {
    const std::vector<int> positions = PositionsDesCaracteres(toPlainText());
    QTextCursor cursor = textCursor();
    cursor.setPosition(PositionDe(positions, first));
    cursor.setPosition(PositionDe(positions, first + count), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

bool CCalExpressionPage::CompilerTexte() {
    ScriptProgram program;
    ScriptError error;
    if (ScriptProgram::Compiler(toPlainText().toStdString(), m_context, program, error))
        return true;
    if (error.position > 0)
        Selectionner(error.position - 1, error.length);
    m_context.GetUserInterface().ShowMessage(error.WithPosition(), UserInterface::Icon::Warning);
    return false;
}

void CCalExpressionPage::OnCompiler() {
    if (CompilerTexte())
        m_context.GetUserInterface().ShowMessage(Message(StringTable::kScriptPasErreur),
                                                 UserInterface::Icon::Information);
}

void CCalExpressionPage::OnInsererQuestion() {
    CSelQuestionDlg dialog(CSelQuestionDlg::kHorsChapitres, this);
    if (dialog.exec() != QDialog::Accepted || dialog.GetQuestion() == nullptr)
        return;
    InsererReference(*dialog.GetQuestion());
}

void CCalExpressionPage::InsererReference(const CQuestionEtendue& question) {
    textCursor().insertText(QStringLiteral("??") + QString::fromStdString(question.name) + QStringLiteral("??"));
}

void CCalExpressionPage::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* cut = menu.addAction(QStringLiteral("&Couper"), this, &QPlainTextEdit::cut);
    cut->setShortcut(QKeySequence(QStringLiteral("Ctrl+X")));
    QAction* copyAction = menu.addAction(QStringLiteral("Co&pier"), this, &QPlainTextEdit::copy);
    copyAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+C")));
    QAction* paste = menu.addAction(QStringLiteral("&Coller"), this, &QPlainTextEdit::paste);
    paste->setShortcut(QKeySequence(QStringLiteral("Ctrl+V")));
    menu.addSeparator();
    QAction* insert = menu.addAction(QStringLiteral("Insérer une question..."), this,
                                     &CCalExpressionPage::OnInsererQuestion);
    insert->setData(ID_INSERER_QUESTION);
    QAction* compile = menu.addAction(QStringLiteral("Compiler"), this, &CCalExpressionPage::OnCompiler);
    compile->setData(ID_COMPILER);
    menu.exec(event->globalPos());
}
