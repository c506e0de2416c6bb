#include "gui/requests/ProfileDialogFrame.h"

#include "framework/MultiTree.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <stdexcept>
#include <string>

namespace {

constexpr int kButtonWidth = 44;

QPushButton* NewButton(QDialog& dialog, const ProfileButtonSpec& spec) {
    auto* button = new QPushButton(QString::fromUtf8(spec.text), &dialog);
    button->setToolTip(QString::fromUtf8(spec.tip));
    button->setFixedWidth(kButtonWidth);
    return button;
}

CMultiTree* NewTree(QDialog& dialog, const char* id) {
    auto* tree = new CMultiTree(&dialog);
    tree->setObjectName(QString::fromLatin1(id));
    tree->setHeaderHidden(true);
    tree->setMinimumSize(240, 300);
    return tree;
}

} // namespace

QVBoxLayout* ProfileDialogFrame::NewButtonColumn(QDialog& dialog, std::span<const ProfileButtonSpec> specs) {
    auto* column = new QVBoxLayout();
    for (const ProfileButtonSpec& spec : specs) {
        m_buttons.emplace_back(spec.id, NewButton(dialog, spec));
        column->addWidget(m_buttons.back().second);
    }
    return column;
}

ProfileDialogFrame::ProfileDialogFrame(QDialog& dialog, std::span<const ProfileButtonSpec> moves,
                                       std::span<const ProfileButtonSpec> lineButtons, Keys keys,
                                       ProfileDialogExtras extras) {
    auto* layout = new QVBoxLayout(&dialog);

    auto* nameRow = new QHBoxLayout();
    auto* label = new QLabel(QStringLiteral("Libellé:"), &dialog);
    names = new QComboBox(&dialog);
    names->setObjectName(QStringLiteral("1011"));
    names->setMinimumWidth(260);
    label->setBuddy(names);
    nouveau = new QPushButton(QStringLiteral("&Nouveau"), &dialog);
    supprimer = new QPushButton(QStringLiteral("&Supprimer"), &dialog);
    nameRow->addWidget(label);
    nameRow->addWidget(names, 1);
    nameRow->addWidget(nouveau);
    nameRow->addWidget(supprimer);
    layout->addLayout(nameRow);

    questionnaire = NewTree(dialog, "1066");
    profile = NewTree(dialog, "1037");
    auto* moveColumn = NewButtonColumn(dialog, moves);
    moveColumn->insertStretch(0);
    moveColumn->addStretch();
    auto* column = NewButtonColumn(dialog, lineButtons);
    lineColumn = new QVBoxLayout();
    column->addLayout(lineColumn);
    column->addStretch();
    auto* trees = new QHBoxLayout();
    trees->addWidget(questionnaire, 1);
    trees->addLayout(moveColumn);
    trees->addLayout(ProfileSide(dialog, *column, extras), 1);
    layout->addLayout(trees, 1);

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    ok = box->button(QDialogButtonBox::Ok);
    ok->setText(QStringLiteral("&OK"));
    box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Annuler"));
    QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(box);

    const std::pair<Qt::Key, int> shortcuts[] = {
        {Qt::Key_Right, keys.right}, {Qt::Key_Left, keys.left}, {Qt::Key_Up, keys.up}, {Qt::Key_Down, keys.down}};
    for (const auto& [key, id] : shortcuts) {
        if (id == 0)
            continue;
        auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | key), &dialog);
        QObject::connect(shortcut, &QShortcut::activated, &Button(id), &QPushButton::click);
    }
}

QVBoxLayout* ProfileDialogFrame::ProfileSide(QDialog& dialog, QVBoxLayout& lineButtons, ProfileDialogExtras extras) {
    auto* profileRow = new QHBoxLayout();
    profileRow->addWidget(profile, 1);
    profileRow->addLayout(&lineButtons);
    auto* side = new QVBoxLayout();
    if (extras.pairMoves.empty()) {
        side->addLayout(profileRow, 1);
        return side;
    }
    profile->setMinimumHeight(160);
    side->addWidget(new QLabel(QStringLiteral("Actives"), &dialog));
    side->addLayout(profileRow, 1);
    auto* pairRow = new QHBoxLayout();
    pairRow->addStretch();
    for (const ProfileButtonSpec& spec : extras.pairMoves) {
        m_buttons.emplace_back(spec.id, NewButton(dialog, spec));
        pairRow->addWidget(m_buttons.back().second);
    }
    pairRow->addStretch();
    side->addLayout(pairRow);
    side->addWidget(new QLabel(QStringLiteral("Illustratives"), &dialog));
    illustrative = NewTree(dialog, "1038");
    illustrative->setMinimumHeight(160);
    auto* illustrativeRow = new QHBoxLayout();
    illustrativeRow->addWidget(illustrative, 1);
    auto* illustrativeColumn = NewButtonColumn(dialog, extras.illustrativeLineButtons);
    illustrativeColumn->addStretch();
    illustrativeRow->addLayout(illustrativeColumn);
    side->addLayout(illustrativeRow, 1);
    return side;
}

QPushButton* ProfileDialogFrame::FindButton(int id) const {
    for (const auto& [buttonId, button] : m_buttons)
        if (buttonId == id)
            return button;
    return nullptr;
}

QPushButton& ProfileDialogFrame::Button(int id) const {
    if (QPushButton* button = FindButton(id))
        return *button;
    throw std::logic_error("the profile dialog has no button " + std::to_string(id));
}

void ProfileDialogFrame::ConnectMoves(const MoveButtons& ids, Moves moves) {
    // A button given without its move would throw only when clicked: refused here.
    const auto wire = [this](int id, bool given, std::function<void()> action) {
        if (id == 0)
            return;
        if (!given)
            throw std::logic_error("the profile dialog's button " + std::to_string(id) + " has no move");
        QPushButton& button = Button(id);
        QObject::connect(&button, &QPushButton::clicked, &button, std::move(action));
    };
    const bool selected = static_cast<bool>(moves.selected);
    const bool everything = static_cast<bool>(moves.everything);
    const bool line = static_cast<bool>(moves.line);
    const bool separator = static_cast<bool>(moves.separator);
    wire(ids.toProfile, selected, [this, move = moves.selected] { move(*questionnaire, *profile); });
    wire(ids.back, selected, [this, move = moves.selected] { move(*profile, *questionnaire); });
    wire(ids.allToProfile, everything, [this, move = moves.everything] { move(*questionnaire, *profile); });
    wire(ids.allBack, everything, [this, move = moves.everything] { move(*profile, *questionnaire); });
    wire(ids.up, line, [move = moves.line] { move(true); });
    wire(ids.down, line, [move = moves.line] { move(false); });
    wire(ids.separator, separator, std::move(moves.separator));
}

NamedProfiles* ProfileDialogFrame::NameProfiles(CContexteEtude& context, NamedProfiles::Store store,
                                                NamedProfiles::Trees trees, QDialog& dialog) {
    return new NamedProfiles(context, std::move(store), std::move(trees), *names, *nouveau, *supprimer, dialog);
}
