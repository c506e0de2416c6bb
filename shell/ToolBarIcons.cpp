#include "shell/ToolBarIcons.h"

#include "framework/FrameworkCommands.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <algorithm>

namespace ToolBarIcons {
namespace {

// A picture of the style, or a label on a colour.
struct Picture {
    unsigned id;
    QStyle::StandardPixmap standard; // used when `label` is null
    const char* label;
    QRgb colour;
};

constexpr QRgb kTables = 0x1B5E9B;
constexpr QRgb kTableWindow = 0x6A3D9A;
constexpr QRgb kExports = 0x2E7D32;
constexpr QRgb kPrinting = 0x455A64;
constexpr QRgb kPortfolio = 0xB26A00;

// clang-format off
const Picture kPictures[] = {
    {FrameworkCommands::kFileOpen,         QStyle::SP_DialogOpenButton, nullptr, 0},
    {32800,                                QStyle::SP_CustomBase,       "W",     kExports},
    {32801,                                QStyle::SP_CustomBase,       "X",     kExports},
    {32771,                                QStyle::SP_CustomBase,       "T",     kTables},
    {32804,                                QStyle::SP_CustomBase,       "TR",    kTables},
    {32793,                                QStyle::SP_CustomBase,       "\u03A3",kTables},
    {32789,                                QStyle::SP_CustomBase,       "TC",    kTables},
    {32797,                                QStyle::SP_CustomBase,       "M",     kTables},
    {32788,                                QStyle::SP_CustomBase,       "P",     kTableWindow},
    {32787,                                QStyle::SP_CustomBase,       "D",     kTableWindow},
    {32786,                                QStyle::SP_CustomBase,       "+",     kTableWindow},
    {32817,                                QStyle::SP_CustomBase,       "G",     kTableWindow},
    {FrameworkCommands::kFilePrint,        QStyle::SP_CustomBase,       "Imp",   kPrinting},
    {FrameworkCommands::kFilePrintPreview, QStyle::SP_CustomBase,       "Ap",    kPrinting},
    {32806,                                QStyle::SP_ArrowUp,          nullptr, 0},
    {32807,                                QStyle::SP_ArrowDown,        nullptr, 0},
    {32808,                                QStyle::SP_ArrowLeft,        nullptr, 0},
    {32809,                                QStyle::SP_ArrowRight,       nullptr, 0},
    {32810,                                QStyle::SP_CustomBase,       "Ch",    kPortfolio},
    {32811,                                QStyle::SP_TrashIcon,        nullptr, 0},
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

} // namespace

QIcon For(unsigned id, const QStyle& style) {
    const auto found = std::find_if(std::begin(kPictures), std::end(kPictures),
                                    [id](const Picture& picture) { return picture.id == id; });
    if (found == std::end(kPictures))
        return {};
    if (found->label == nullptr)
        return style.standardIcon(found->standard);
    return Label(found->label, found->colour);
}

} // namespace ToolBarIcons
