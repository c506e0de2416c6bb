#include "gui/tabulation/OptionsTableauxDlg.h"

#include "app/ContexteEtude.h"
#include "app/Registre.h"
#include "app/StringTable.h"
#include "framework/QtUserInterface.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>
#include <string>

namespace {

using D = COptionsTableauxDlg;

// A count of the Word export's paging: lines or columns, portrait or landscape, with its limits.
struct CountSetting {
    int id;
    bool columns;
    bool landscape;
    int minimum;
    int maximum;
};

// In the order the counts are checked.
// clang-format off
constexpr CountSetting kCountSettings[] = {
    {D::kColonnesPortrait, true,  false, 4,  32768},
    {D::kLignesPaysage,    false, true,  10, 32768},
    {D::kLignesPortrait,   false, false, 10, 32768},
    {D::kColonnesPaysage,  true,  true,  4,  32768},
};
// clang-format on

struct OptionSetting {
    int id;
    const char* text;
    bool (*read)();
    void (*write)(bool);
};

// clang-format off
constexpr OptionSetting kOptionSettings[] = {
    {D::kTotalEnDebut,           "Total en début de tableau",                          &CRegistre::GetIsTotalBefore,      &CRegistre::SetIsTotalBefore},
    {D::kRuptureColonnesDabord,  "Rupture en colonne d'abord dans les profils",        &CRegistre::GetIsBreakColumnsFirst, &CRegistre::SetIsBreakColumnsFirst},
    {D::kUnTableauParFeuille,    "Un tableau par feuille lors de l'exportation Excel", &CRegistre::GetIsOneSheetPerTable,  &CRegistre::SetIsOneSheetPerTable},
    {D::kExportationAcceleree,   "Exportation vers Excel accélérée",                   &CRegistre::GetIsFastExport,        &CRegistre::SetIsFastExport},
};
// clang-format on

int StoredCount(const CountSetting& setting) {
    return setting.columns ? CRegistre::GetColumnsPerTableInWord(setting.landscape)
                           : CRegistre::GetLinesPerTableInWord(setting.landscape);
}

void StoreCount(const CountSetting& setting, int value) {
    if (setting.columns)
        CRegistre::SetColumnsPerTableInWord(setting.landscape, value);
    else
        CRegistre::SetLinesPerTableInWord(setting.landscape, value);
}

} // namespace

COptionsTableauxDlg::COptionsTableauxDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Options tableaux"));
    BuildControls();
    LoadValues();
}

// The counts stand in a grid, lines and columns by portrait and landscape, under the options.
void COptionsTableauxDlg::BuildControls() {
    auto* paging = new QGroupBox(QStringLiteral("Exportation vers Word"), this);
    auto* grid = new QGridLayout(paging);
    grid->addWidget(new QLabel(QStringLiteral("Portrait"), paging), 0, 1, Qt::AlignHCenter);
    grid->addWidget(new QLabel(QStringLiteral("Paysage"), paging), 0, 2, Qt::AlignHCenter);
    grid->addWidget(new QLabel(QStringLiteral("Lignes par page"), paging), 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Colonnes par page"), paging), 2, 0);
    for (std::size_t i = 0; i < m_counts.size(); ++i) {
        const CountSetting& setting = kCountSettings[i];
        auto* edit = new QLineEdit(paging);
        edit->setObjectName(QString::number(setting.id));
        // Room for the largest count, and no more.
        edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 16);
        grid->addWidget(edit, setting.columns ? 2 : 1, setting.landscape ? 2 : 1);
        m_counts[i] = CountControl{setting.id, edit};
    }
    setTabOrder(GetEdit(kLignesPortrait), GetEdit(kLignesPaysage));
    setTabOrder(GetEdit(kLignesPaysage), GetEdit(kColonnesPortrait));
    setTabOrder(GetEdit(kColonnesPortrait), GetEdit(kColonnesPaysage));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(paging);
    for (std::size_t i = 0; i < m_options.size(); ++i) {
        auto* box = new QCheckBox(QString::fromUtf8(kOptionSettings[i].text), this);
        box->setObjectName(QString::number(kOptionSettings[i].id));
        layout->addWidget(box);
        m_options[i] = OptionControl{kOptionSettings[i].id, box};
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    connect(buttons, &QDialogButtonBox::accepted, this, &COptionsTableauxDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &COptionsTableauxDlg::reject);
    layout->addWidget(buttons);
}

void COptionsTableauxDlg::LoadValues() {
    for (std::size_t i = 0; i < m_counts.size(); ++i)
        m_counts[i].edit->setText(QString::number(StoredCount(kCountSettings[i])));
    for (std::size_t i = 0; i < m_options.size(); ++i)
        m_options[i].box->setChecked(kOptionSettings[i].read());
}

QLineEdit* COptionsTableauxDlg::GetEdit(int id) const {
    for (const CountControl& count : m_counts)
        if (count.id == id)
            return count.edit;
    return nullptr;
}

QCheckBox* COptionsTableauxDlg::GetCheckBox(int id) const {
    for (const OptionControl& option : m_options)
        if (option.id == id)
            return option.box;
    return nullptr;
}

bool COptionsTableauxDlg::ReadCount(std::size_t index, int& value) {
    const CountSetting& setting = kCountSettings[index];
    QLineEdit& edit = *m_counts[index].edit;
    bool isNumber = false;
    value = edit.text().trimmed().toInt(&isNumber);
    if (isNumber && value >= setting.minimum && value <= setting.maximum)
        return true;
    const Message refusal = isNumber
                                ? Message(StringTable::kEntrezEntierCompris,
                                          {std::to_string(setting.minimum), std::to_string(setting.maximum)})
                                : Message(StringTable::kEntrezUnEntier);
    std::unique_ptr<QtUserInterface> boxes;
    UserInterface* user = nullptr;
    if (CContexteEtude* context = GetContexte()) {
        user = &context->GetUserInterface();
    } else {
        boxes = std::make_unique<QtUserInterface>(this);
        user = boxes.get();
    }
    user->ShowMessage(refusal, UserInterface::Icon::Warning);
    edit.setFocus();
    edit.selectAll();
    return false;
}

void COptionsTableauxDlg::accept() {
    std::array<int, 4> counts{};
    for (std::size_t i = 0; i < m_counts.size(); ++i)
        if (!ReadCount(i, counts[i]))
            return;
    for (std::size_t i = 0; i < m_counts.size(); ++i)
        StoreCount(kCountSettings[i], counts[i]);
    for (std::size_t i = 0; i < m_options.size(); ++i)
        kOptionSettings[i].write(m_options[i].box->isChecked());
    QDialog::accept();
}
