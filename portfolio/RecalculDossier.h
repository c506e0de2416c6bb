#pragma once

#include "app/Message.h"

#include <string>
#include <vector>

class CContexteEtude;
class CElementDossier;

// Computes the tables of a portfolio again from their stored requests on the open survey (a
// portfolio keeps requests, not numbers). A table whose request is missing, names what the survey
// no longer has, or gives no table becomes a chapter under its name; the report gathers them so
// that the user is told once, with what each one misses.
class RecalculDossier {
public:
    explicit RecalculDossier(CContexteEtude& context);

    // Chapters, maps and dendrograms stay as they are. A table or chart takes the first table of
    // its request run again (which carries a copy of the request); otherwise it becomes a chapter
    // and is reported. True when the element is still a table.
    bool RecalculerElement(CElementDossier& element);

    bool AucunEchec() const { return m_failures.empty(); }
    // One message naming every element that became a chapter and what it misses.
    Message DonnerMessage() const;

private:
    struct Failure {
        std::string name;
        std::vector<Message> reasons;
    };

    CContexteEtude& m_context;
    std::vector<Failure> m_failures;
};
