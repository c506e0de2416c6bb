#include "gui/variables/ScriptHighlighter.h"

#include <QTextCharFormat>
#include <QTextDocument>
#include <algorithm>
#include <utility>

ScriptHighlighter::ScriptHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {}

void ScriptHighlighter::Colorer(std::vector<Span> spans) {
    m_spans = std::move(spans);
    m_current = true;
    rehighlight();
}

void ScriptHighlighter::highlightBlock(const QString& text) {
    if (!m_current)
        return;
    const int blockStart = currentBlock().position();
    const int blockEnd = blockStart + static_cast<int>(text.size());
    // The first run that ends after the line begins.
    auto span = std::lower_bound(m_spans.begin(), m_spans.end(), blockStart,
                                 [](const Span& run, int position) { return run.start + run.length <= position; });
    for (; span != m_spans.end() && span->start < blockEnd; ++span) {
        const int from = std::max(span->start, blockStart);
        const int to = std::min(span->start + span->length, blockEnd);
        QTextCharFormat format;
        format.setForeground(span->colour);
        setFormat(from - blockStart, to - from, format);
    }
}
