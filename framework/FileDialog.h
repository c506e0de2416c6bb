#pragma once

#include <QFileDialog>

class QFileInfo;

// The file dialog of every opening and saving of the program: Qt's own dialog (the desktop's
// would speak the desktop's language), filled from the framework's filter form, and showing its
// columns of sizes, kinds and dates in the program's locale: Qt formats them in the system's
// locale and leaves the kind of a folder untranslated. It opens in the folder of the last file of
// its kind (its default extension) chosen in this session, as desktop programs do.
class CFileDialog : public QFileDialog {
    Q_OBJECT

public:
    enum class Mode { kOpen, kSave };
    // The columns of the detailed view.
    enum Column { kNameColumn = 0, kSizeColumn = 1, kKindColumn = 2, kDateColumn = 3 };

    // `filter` is in the framework's form, pairs of a description and its patterns, each ended by
    // "|" ("Fichiers Velto (*.qes)|*.qes|"). Opening asks for an existing file; saving asks before
    // it replaces one and adds `defaultExtension` (without its dot) to a name that has none.
    CFileDialog(Mode mode, const QString& defaultExtension, const QString& filter, QWidget* parent = nullptr);

    // The filters Qt shows, from the framework's form: "Description (patterns)", patterns
    // separated by spaces, the description kept whole when it already names its patterns.
    static QStringList NameFilters(const QString& filter);

    // What the detailed view shows of a file in a column, in the program's locale: its size, the
    // kind of a folder or a link ("Dossier", "Raccourci"), its date; empty where the view's own
    // text stands (names, kinds of files).
    static QString ColumnText(const QFileInfo& file, int column);

    // The chosen file; empty before OK.
    QString GetPathName() const;

    // Proposes `title` (a table's or portfolio's) as the file's name, without the characters a
    // file name cannot hold; an empty title proposes nothing.
    void ProposerNom(const QString& title);
    static QString FileNameOf(const QString& title);

    // The folder a dialog of that extension opens in; empty before any file of that kind.
    static QString LastFolder(const QString& extension);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowPlacesWhole();

    QString m_extension;
};
