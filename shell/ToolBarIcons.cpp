#include "shell/ToolBarIcons.h"

#include "framework/FrameworkCommands.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QStandardPaths>
#include <QStyle>
#include <algorithm>

namespace ToolBarIcons {
namespace {

// The picture of a desktop icon theme for the standard actions, else the style's own, else the
// program's label on a colour for its own commands.
struct Picture {
    unsigned id;
    const char* themeName;           // the freedesktop name; null for the program's own commands
    QStyle::StandardPixmap standard; // used when the theme lacks the icon and `label` is null
    const char* label;
    QRgb colour;
};

constexpr QRgb kTables = 0x1B5E9B;
constexpr QRgb kTableWindow = 0x6A3D9A;
constexpr QRgb kExports = 0x2E7D32;
constexpr QRgb kPrinting = 0x455A64;
constexpr QRgb kPortfolio = 0xB26A00;

// The theme searched when the desktop names none (a bare X session, the tests): Debian's
// adwaita-icon-theme, which `make deps` installs.
constexpr const char* kFallbackTheme = "Adwaita";

// clang-format off
const Picture kPictures[] = {
    {FrameworkCommands::kFileOpen,         "document-open",          QStyle::SP_DialogOpenButton, nullptr, 0},
    {32800,                                "x-office-document",      QStyle::SP_CustomBase,       "W",     kExports},
    {32801,                                "x-office-spreadsheet",   QStyle::SP_CustomBase,       "X",     kExports},
    {32771,                                nullptr,                  QStyle::SP_CustomBase,       "T",     kTables},
    {32804,                                nullptr,                  QStyle::SP_CustomBase,       "TR",    kTables},
    {32793,                                nullptr,                  QStyle::SP_CustomBase,       "\u03A3",kTables},
    {32789,                                nullptr,                  QStyle::SP_CustomBase,       "TC",    kTables},
    {32797,                                nullptr,                  QStyle::SP_CustomBase,       "M",     kTables},
    {32788,                                nullptr,                  QStyle::SP_CustomBase,       "P",     kTableWindow},
    {32787,                                nullptr,                  QStyle::SP_CustomBase,       "D",     kTableWindow},
    {32786,                                nullptr,                  QStyle::SP_CustomBase,       "+",     kTableWindow},
    {32817,                                nullptr,                  QStyle::SP_CustomBase,       "G",     kTableWindow},
    {FrameworkCommands::kFilePrint,        "document-print",         QStyle::SP_CustomBase,       "Imp",   kPrinting},
    {FrameworkCommands::kFilePrintPreview, "document-print-preview", QStyle::SP_CustomBase,       "Ap",    kPrinting},
    {32806,                                nullptr,                  QStyle::SP_ArrowUp,          nullptr, 0},
    {32807,                                nullptr,                  QStyle::SP_ArrowDown,        nullptr, 0},
    {32808,                                nullptr,                  QStyle::SP_ArrowLeft,        nullptr, 0},
    {32809,                                nullptr,                  QStyle::SP_ArrowRight,       nullptr, 0},
    {32810,                                nullptr,                  QStyle::SP_CustomBase,       "Ch",    kPortfolio},
    {32811,                                "edit-delete",            QStyle::SP_TrashIcon,        nullptr, 0},
};
// clang-format on

QIcon Label(const char* text, QRgb colour) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(colour));
    painter.drawRoundedRect(QRectF(1, 1, kSize - 2, kSize - 2), 4, 4);
    QFont font = painter.font();
    font.setBold(true);
    const QString label = QString::fromUtf8(text);
    font.setPixelSize(label.size() > 2 ? 9 : label.size() > 1 ? 11 : 14);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, label);
    return QIcon(pixmap);
}

// Without a desktop, Qt names no theme and searches only its own resources: the themes
// installed in the system's data folders are searched, and the fallback one is used.
void UseDesktopThemeWhereNoneIsNamed() {
    const QString theme = QIcon::themeName();
    if (!theme.isEmpty() && theme != QStringLiteral("hicolor"))
        return;
    QStringList paths = QIcon::themeSearchPaths();
    for (const QString& folder :
         QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                   QStandardPaths::LocateDirectory))
        if (!paths.contains(folder))
            paths << folder;
    QIcon::setThemeSearchPaths(paths);
    QIcon::setThemeName(QString::fromUtf8(kFallbackTheme));
}

} // namespace

QIcon For(unsigned id, const QStyle& style) {
    const auto found = std::find_if(std::begin(kPictures), std::end(kPictures),
                                    [id](const Picture& picture) { return picture.id == id; });
    if (found == std::end(kPictures))
        return {};
    if (found->themeName != nullptr) {
        UseDesktopThemeWhereNoneIsNamed();
        const QString name = QString::fromUtf8(found->themeName);
        if (QIcon::hasThemeIcon(name))
            return QIcon::fromTheme(name);
    }
    if (found->label == nullptr)
        return style.standardIcon(found->standard);
    return Label(found->label, found->colour);
}

} // namespace ToolBarIcons
