#include "gui/requests/OperationDlg.h"

#include "app/ContexteEtude.h"
#include "app/IdName.h"
#include "app/QuestionNiveau.h"
#include "app/StringTable.h"
#include "gui/requests/PageGeneraleDlg.h"
#include "gui/requests/SelNiveauDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>
#include <memory>
#include <vector>

namespace {

using Calculs = std::vector<std::unique_ptr<CCalcul>>;
using ListOfContext = void (CContexteEtude::*)(Calculs&);

// What each type of operation offers: its list of operations and the fields that can be changed.
struct TypeRow {
    const char* caption;
    ListOfContext list; // null: no operation to choose
    bool position;
    bool operation;
    bool testLine;
};
const std::array<TypeRow, 4> kTypes{{
    {"Croisement", &CContexteEtude::DonnerCalculsCroises, false, true, false},
    {"Total", &CContexteEtude::DonnerCalculsEvolues, true, true, false},
    {"Sous total (stats)", &CContexteEtude::DonnerCalculsMoyennes, false, true, false},
    {"Ligne de test", nullptr, false, false, true},
}};

const std::array<const char*, 3> kPositions{
    "Total lignes uniquement",
    "Total colonnes uniquement",
    "Total lignes et colonnes",
};

const TypeRow* RowOfType(int type) {
    return type >= 0 && type < static_cast<int>(kTypes.size()) ? &kTypes[static_cast<std::size_t>(type)] : nullptr;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QLabel* Caption(const char* text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setBuddy(buddy);
    return label;
}

QPushButton* ChooserButton(bool enabled, QWidget* parent) {
    auto* button = new QPushButton(QStringLiteral("..."), parent);
    button->setEnabled(enabled);
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    return button;
}

} // namespace

COperationDlg::COperationDlg(CContexteEtude& context, const CCalculEvolue& calculation, QWidget* parent)
    : QDialog(parent), m_context(context), m_calculation(calculation), m_label(new QLineEdit(this)),
      m_studyFieldName(new QLabel(this)), m_weightingName(new QLabel(this)), m_levelName(new QLabel(this)),
      m_studyFieldButton(ChooserButton(true, this)),
      m_weightingButton(ChooserButton(static_cast<bool>(CPageGeneraleDlg::ChoosersFor(context).weighting), this)),
      m_levelButton(ChooserButton(true, this)), m_type(new QComboBox(this)), m_position(new QComboBox(this)),
      m_operation(new QComboBox(this)), m_testLine(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("Opération"));
    setObjectName(QStringLiteral("COperationDlg"));

    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(Caption("&Libellé:", m_label, this), row, 0);
    grid->addWidget(m_label, row++, 1, 1, 2);
    grid->addWidget(Caption("&Champ d'étude:", m_studyFieldButton, this), row, 0);
    grid->addWidget(m_studyFieldName, row, 1);
    grid->addWidget(m_studyFieldButton, row++, 2);
    grid->addWidget(Caption("&Redressement:", m_weightingButton, this), row, 0);
    grid->addWidget(m_weightingName, row, 1);
    grid->addWidget(m_weightingButton, row++, 2);
    grid->addWidget(Caption("&Niveau:", m_levelButton, this), row, 0);
    grid->addWidget(m_levelName, row, 1);
    grid->addWidget(m_levelButton, row++, 2);
    grid->addWidget(Caption("&Type:", m_type, this), row, 0);
    grid->addWidget(m_type, row++, 1, 1, 2);
    grid->addWidget(Caption("&Position:", m_position, this), row, 0);
    grid->addWidget(m_position, row++, 1, 1, 2);
    grid->addWidget(Caption("Opérat&ion:", m_operation, this), row, 0);
    grid->addWidget(m_operation, row++, 1, 1, 2);
    grid->addWidget(Caption("Li&gne de test:", m_testLine, this), row, 0);
    grid->addWidget(m_testLine, row++, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(1, 260);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_cancel = buttons->button(QDialogButtonBox::Cancel);
    m_ok->setText(QStringLiteral("&OK"));
    m_cancel->setText(QStringLiteral("&Annuler"));
    connect(buttons, &QDialogButtonBox::accepted, this, &COperationDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &COperationDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    m_label->setText(Text(m_calculation.label));
    m_testLine->setText(Text(m_calculation.testLineText));
    for (const TypeRow& type : kTypes)
        m_type->addItem(QString::fromUtf8(type.caption));
    for (const char* position : kPositions)
        m_position->addItem(QString::fromUtf8(position));
    m_type->setCurrentIndex(RowOfType(m_calculation.type) ? m_calculation.type : -1);
    m_position->setCurrentIndex(m_calculation.position >= 0 && m_calculation.position < 3 ? m_calculation.position : -1);
    OnSelchangeType();
    ShowNames();

    connect(m_type, &QComboBox::currentIndexChanged, this, &COperationDlg::OnSelchangeType);
    connect(m_studyFieldButton, &QPushButton::clicked, this, &COperationDlg::OnStudyField);
    connect(m_weightingButton, &QPushButton::clicked, this, &COperationDlg::OnWeighting);
    connect(m_levelButton, &QPushButton::clicked, this, &COperationDlg::OnLevel);
}

COperationDlg::~COperationDlg() = default;

// The operations of the type, the one of the current kind selected (none when the list lacks it).
void COperationDlg::OnSelchangeType() {
    m_operation->clear();
    const TypeRow* type = RowOfType(m_type->currentIndex());
    if (type != nullptr && type->list != nullptr) {
        Calculs operations;
        (m_context.*type->list)(operations);
        for (const auto& operation : operations)
            m_operation->addItem(Text(operation->label), operation->code);
    }
    m_operation->setCurrentIndex(m_operation->findData(m_calculation.code));
    m_position->setEnabled(type != nullptr && type->position);
    m_operation->setEnabled(type != nullptr && type->operation);
    m_testLine->setEnabled(type != nullptr && type->testLine);
}

void COperationDlg::OnStudyField() {
    const auto chooser = CPageGeneraleDlg::ChoosersFor(m_context).studyField;
    CIdName field(m_calculation.studyFieldId, m_calculation.studyFieldName);
    if (!chooser || !chooser(this, field))
        return;
    m_calculation.studyFieldId = field.id;
    m_calculation.studyFieldName = field.name;
    ShowNames();
}

void COperationDlg::OnWeighting() {
    const auto chooser = CPageGeneraleDlg::ChoosersFor(m_context).weighting;
    CIdName weighting(m_calculation.weightingId, m_calculation.weightingName);
    if (!chooser || !chooser(this, weighting))
        return;
    m_calculation.weightingId = weighting.id;
    m_calculation.weightingName = weighting.name;
    ShowNames();
}

void COperationDlg::OnLevel() {
    CSelNiveauDlg dialog(m_calculation.levelIndex, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_calculation.levelIndex = dialog.GetChosenLevel();
    const CQuestionNiveau* level = m_context.DonnerNiveau(m_calculation.levelIndex);
    m_calculation.levelName = level != nullptr ? level->name : std::string();
    ShowNames();
}

void COperationDlg::ShowNames() {
    m_studyFieldName->setText(Text(m_calculation.studyFieldName));
    m_weightingName->setText(Text(m_calculation.weightingName));
    m_levelName->setText(Text(m_calculation.levelName));
}

void COperationDlg::Refuse(const Message& message) {
    m_context.GetUserInterface().ShowMessage(message, UserInterface::Icon::Warning);
}

void COperationDlg::accept() {
    const std::string label = m_label->text().toStdString();
    if (!CCalculEvolue::EstTexteAutorise(label))
        return Refuse(CCalculEvolue::MessageCaracteresInterdits());
    const int type = m_type->currentIndex();
    std::int32_t kind = -1;
    std::string testLine;
    if (type != CCalculEvolue::kTestLine) {
        if (m_operation->currentIndex() < 0)
            return Refuse(Message(StringTable::kSelectionnerUnCalcul));
        kind = m_operation->currentData().toInt();
    } else {
        testLine = m_testLine->text().toStdString();
        if (!CCalculEvolue::EstTexteAutorise(testLine))
            return Refuse(CCalculEvolue::MessageCaracteresInterdits());
    }
    if (m_position->currentIndex() < 0) {
        if (type == CCalculEvolue::kTotal)
            return Refuse(Message(StringTable::kSelectionnerTypeTotal));
        m_position->setCurrentIndex(CCalculEvolue::kRowsOnly);
    }
    m_calculation.label = label;
    m_calculation.type = static_cast<std::int16_t>(type);
    m_calculation.position = static_cast<std::int16_t>(m_position->currentIndex());
    m_calculation.code = kind;
    m_calculation.testLineText = testLine;
    QDialog::accept();
}
