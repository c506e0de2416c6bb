#include "platform/db/SqliteCause.h"

#include <algorithm>
#include <iterator>

#include <sqlite3.h>

namespace db {

namespace {

struct CodeCause {
    int code;
    const char* cause;
};

// By primary result code: what went wrong, said as the analyst would understand it.
constexpr CodeCause kCauses[] = {
    {SQLITE_ERROR, "erreur de la base de données"},
    {SQLITE_INTERNAL, "erreur interne de la base de données"},
    {SQLITE_PERM, "accès refusé au fichier"},
    {SQLITE_ABORT, "opération interrompue"},
    {SQLITE_BUSY, "le fichier est occupé par un autre programme"},
    {SQLITE_LOCKED, "le fichier est verrouillé"},
    {SQLITE_NOMEM, "mémoire insuffisante"},
    {SQLITE_READONLY, "le fichier est en lecture seule"},
    {SQLITE_INTERRUPT, "opération interrompue"},
    {SQLITE_IOERR, "erreur de lecture ou d'écriture sur le disque"},
    {SQLITE_CORRUPT, "le fichier est endommagé"},
    {SQLITE_NOTFOUND, "opération inconnue de la base de données"},
    {SQLITE_FULL, "le disque est plein"},
    {SQLITE_CANTOPEN, "le fichier ne peut pas être ouvert"},
    {SQLITE_PROTOCOL, "le verrouillage du fichier a échoué"},
    {SQLITE_SCHEMA, "la structure de la base a changé pendant l'opération"},
    {SQLITE_TOOBIG, "donnée trop volumineuse"},
    {SQLITE_CONSTRAINT, "une contrainte de la base n'est pas respectée"},
    {SQLITE_MISMATCH, "type de donnée incorrect"},
    {SQLITE_MISUSE, "mauvais usage de la base de données"},
    {SQLITE_NOLFS, "fichier trop gros pour ce système"},
    {SQLITE_AUTH, "autorisation refusée"},
    {SQLITE_RANGE, "paramètre hors limites"},
    {SQLITE_NOTADB, "le fichier n'est pas une base de données"},
};

} // namespace

std::string SqliteCause(int code, const std::string& fallback) {
    const int primary = code & 0xff;
    // A text of its own (a trigger's, a message this program put in its place) says more than
    // the code: only SQLite's generic text for the code is replaced.
    if (fallback != sqlite3_errstr(code) && fallback != sqlite3_errstr(primary))
        return fallback;
    const auto* found = std::find_if(std::begin(kCauses), std::end(kCauses),
                                     [primary](const CodeCause& entry) { return entry.code == primary; });
    return found != std::end(kCauses) ? found->cause : fallback;
}

} // namespace db
