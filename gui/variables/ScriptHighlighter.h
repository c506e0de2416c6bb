#pragma once

#include <QColor>
#include <QSyntaxHighlighter>
#include <vector>

class QTextDocument;

// The colours of a script, computed for the whole text at once (a question reference or a fault
// is found only with what comes before it) and laid on each line of the document. Until the next
// colouring, a line that changes loses its colours rather than showing colours of another text.
class ScriptHighlighter : public QSyntaxHighlighter {
    Q_OBJECT

public:
    // A run of one colour, in the document's positions.
    struct Span {
        int start = 0;
        int length = 0;
        QColor colour;
    };

    explicit ScriptHighlighter(QTextDocument* document);

    // The runs of the whole text, in order, then every line coloured with them.
    void Colorer(std::vector<Span> spans);
    // The text changed since the runs were found.
    void Perimer() { m_current = false; }

protected:
    void highlightBlock(const QString& text) override;

private:
    std::vector<Span> m_spans;
    bool m_current = false;
};
