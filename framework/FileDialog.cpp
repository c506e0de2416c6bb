#include "framework/FileDialog.h"

#include <QDateTime>
#include <QDir>
#include <QHash>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QListView>
#include <QLocale>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTreeView>

namespace {

// Kinds the model names itself, untranslated (the others are the kinds the MIME database names, in
// the program's language already).
constexpr const char* kFolderKind = "Dossier";
constexpr const char* kLinkKind = "Raccourci";

// Shows the size, the kind of a folder or link and the date of each file as the dialog says.
class FileColumnsDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const auto* model = qobject_cast<const QFileSystemModel*>(index.model());
        if (model == nullptr)
            return;
        const QString text = CFileDialog::ColumnText(model->fileInfo(index), index.column());
        if (!text.isEmpty())
            option->text = text;
    }
};

// The folder of the last file chosen, by kind.
QHash<QString, QString>& LastFolders() {
    static QHash<QString, QString> folders;
    return folders;
}

// Characters that no file name may hold on the desktops the program runs on.
constexpr const char* kForbiddenInNames = "/\\:*?\"<>|";

// Room after the longest place's name.
constexpr int kPlacesMargin = 8;

// Wide enough for the four columns with their French headers.
constexpr QSize kInitialSize(800, 480);

} // namespace

CFileDialog::CFileDialog(Mode mode, const QString& defaultExtension, const QString& filter, QWidget* parent)
    : QFileDialog(parent), m_extension(defaultExtension.toLower()) {
    setOption(QFileDialog::DontUseNativeDialog);
    if (const QString folder = LastFolder(m_extension); !folder.isEmpty())
        setDirectory(folder);
    if (mode == Mode::kOpen) {
        setAcceptMode(QFileDialog::AcceptOpen);
        setFileMode(QFileDialog::ExistingFile);
        setWindowTitle(QStringLiteral("Ouvrir"));
    } else {
        setAcceptMode(QFileDialog::AcceptSave);
        setFileMode(QFileDialog::AnyFile);
        setWindowTitle(QStringLiteral("Enregistrer sous"));
    }
    setDefaultSuffix(defaultExtension);
    setNameFilters(NameFilters(filter));
    setItemDelegate(new FileColumnsDelegate(this));
    // Sizes and kinds as wide as the folder shown needs, the dates in the room left: each shows
    // whole, with its French header.
    if (auto* details = findChild<QTreeView*>()) {
        details->header()->setSectionResizeMode(kSizeColumn, QHeaderView::ResizeToContents);
        details->header()->setSectionResizeMode(kKindColumn, QHeaderView::ResizeToContents);
        details->header()->setStretchLastSection(true);
    }
    resize(kInitialSize);
}

QStringList CFileDialog::NameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        if (description.isEmpty())
            continue;
        filters << (description.contains(QLatin1Char('(')) ? description
                                                          : QStringLiteral("%1 (%2)").arg(description, patterns));
    }
    return filters;
}

void CFileDialog::showEvent(QShowEvent* event) {
    QFileDialog::showEvent(event);
    ShowPlacesWhole();
}

// The places beside the files ("Ordinateur", the home folder...) as wide as their names.
void CFileDialog::ShowPlacesWhole() {
    auto* splitter = findChild<QSplitter*>();
    if (splitter == nullptr || splitter->count() < 2)
        return;
    auto* places = qobject_cast<QListView*>(splitter->widget(0));
    if (places == nullptr)
        return;
    const int needed = places->sizeHintForColumn(0) + 2 * places->frameWidth() + kPlacesMargin;
    QList<int> sizes = splitter->sizes();
    if (sizes[0] >= needed)
        return;
    sizes[1] -= needed - sizes[0];
    sizes[0] = needed;
    splitter->setSizes(sizes);
}

QString CFileDialog::ColumnText(const QFileInfo& file, int column) {
    const QLocale locale;
    switch (column) {
    case kSizeColumn:
        return file.isFile() ? locale.formattedDataSize(file.size()) : QString();
    case kKindColumn:
        if (file.isSymLink())
            return QString::fromUtf8(kLinkKind);
        return file.isDir() ? QString::fromUtf8(kFolderKind) : QString();
    case kDateColumn:
        return locale.toString(file.lastModified(), QLocale::ShortFormat);
    default:
        return QString();
    }
}

void CFileDialog::ProposerNom(const QString& title) {
    const QString name = FileNameOf(title);
    if (!name.isEmpty())
        selectFile(name);
}

QString CFileDialog::FileNameOf(const QString& title) {
    QString name;
    for (const QChar c : title) {
        if (c.unicode() < 0x20)
            continue;
        name += QString::fromUtf8(kForbiddenInNames).contains(c) ? QChar(QLatin1Char('_')) : c;
    }
    return name.trimmed();
}

QString CFileDialog::LastFolder(const QString& extension) {
    return LastFolders().value(extension.toLower());
}

void CFileDialog::done(int result) {
    const QStringList files = selectedFiles();
    if (result == QDialog::Accepted && !files.isEmpty())
        LastFolders().insert(m_extension, QFileInfo(files.front()).absolutePath());
    QFileDialog::done(result);
}

QString CFileDialog::GetPathName() const {
    const QStringList files = selectedFiles();
    return result() == QDialog::Accepted && !files.isEmpty() ? files.front() : QString();
}
