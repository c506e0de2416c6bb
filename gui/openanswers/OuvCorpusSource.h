#pragma once

class COuvCorpus;

// What the analysis windows of an open question ask of their document: the lexical engine of the
// question, opened, or none when the question could not be read (the window then stays empty).
class OuvCorpusSource {
public:
    virtual ~OuvCorpusSource() = default;
    virtual COuvCorpus* GetCorpus() const = 0;
};
