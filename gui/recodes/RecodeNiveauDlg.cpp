#include "gui/recodes/RecodeNiveauDlg.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/Recodage.h"
#include "framework/WindowSize.h"
#include "recodes/EnregistrerRecodage.h"
#include "recodes/RecodeChecks.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr int kLabelLength = 50;

} // namespace

RecodeNiveauDialog::RecodeNiveauDialog(CContexteEtude& context, CQuestionEtendue& source, CQuestionEtendue* edited,
                                       std::unique_ptr<CRecodage> fresh, const QString& title,
                                       std::span<const char* const> methods, QWidget* parent)
    : QDialog(parent), m_context(context), m_source(source), m_edited(edited), m_label(new QLineEdit(this)),
      m_targetLevel(new QLabel(this)), m_levelButton(new QPushButton(QStringLiteral("..."), this)) {
    setWindowTitle(title);
    if (edited != nullptr && edited->GetRecodage() != nullptr) {
        m_recode = CRecodage::Cloner(edited->GetRecodage());
    } else {
        m_recode = std::move(fresh);
        m_recode->sourceQuestionCode = source.code;
        m_recode->sourceRecodeCode = source.recodeId;
    }
    m_targetLevelIndex = m_recode->GetNiveauArrivee();
    m_label->setMaxLength(kLabelLength);
    // Room for a label of some thirty characters.
    m_label->setMinimumWidth(m_label->fontMetrics().averageCharWidth() * 36);
    m_label->setText(QString::fromStdString(m_recode->label));

    auto* sourceBox = new QGroupBox(QStringLiteral("Question source"), this);
    auto* sourceForm = new QFormLayout(sourceBox);
    sourceForm->addRow(QStringLiteral("Question :"), new QLabel(QString::fromStdString(source.name), sourceBox));
    sourceForm->addRow(QStringLiteral("Niveau :"), new QLabel(LevelName(source.level), sourceBox));

    auto* newBox = new QGroupBox(QStringLiteral("Nouvelle question"), this);
    auto* newForm = new QFormLayout(newBox);
    newForm->addRow(QStringLiteral("Libellé :"), m_label);
    auto* levelRow = new QHBoxLayout;
    levelRow->addWidget(m_targetLevel, 1);
    m_levelButton->setAutoDefault(false);
    m_levelButton->setFixedWidth(m_levelButton->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    levelRow->addWidget(m_levelButton);
    newForm->addRow(QStringLiteral("Niveau :"), levelRow);
    m_targetLevel->setText(LevelName(m_targetLevelIndex));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sourceBox);
    layout->addWidget(newBox);
    if (!methods.empty()) {
        auto* methodBox = new QGroupBox(QStringLiteral("Méthode"), this);
        auto* methodLayout = new QVBoxLayout(methodBox);
        auto* group = new QButtonGroup(this);
        for (const char* caption : methods) {
            auto* button = new QRadioButton(QString::fromUtf8(caption), methodBox);
            group->addButton(button);
            methodLayout->addWidget(button);
            m_methods.push_back(button);
        }
        const int method = m_recode->GetSousType();
        if (method >= 0 && method < static_cast<int>(m_methods.size()))
            m_methods[static_cast<std::size_t>(method)]->setChecked(true);
        layout->addWidget(methodBox);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &RecodeNiveauDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &RecodeNiveauDialog::reject);
    layout->addWidget(buttons);
    connect(m_levelButton, &QPushButton::clicked, this, &RecodeNiveauDialog::ChooseLevel);
    m_levelButton->setEnabled(false);
    WindowSize::FitContentsToScreen(*this);
}

RecodeNiveauDialog::~RecodeNiveauDialog() = default;

QString RecodeNiveauDialog::LevelName(int index) const {
    const CQuestionNiveau* level = m_context.DonnerNiveau(index);
    return level != nullptr ? QString::fromStdString(level->name) : QString();
}

void RecodeNiveauDialog::SetLevelChooser(LevelChooser chooser) {
    m_chooser = std::move(chooser);
    m_levelButton->setEnabled(static_cast<bool>(m_chooser));
}

void RecodeNiveauDialog::ChooseLevel() {
    int chosen = m_targetLevelIndex;
    if (!m_chooser || !m_chooser(m_targetLevelIndex, m_source.level, this, chosen))
        return;
    m_targetLevelIndex = chosen;
    m_targetLevel->setText(LevelName(m_targetLevelIndex));
}

void RecodeNiveauDialog::accept() {
    UserInterface& ui = m_context.GetUserInterface();
    std::unique_ptr<CRecodage> filled = CRecodage::Cloner(m_recode.get());
    const std::string label = m_label->text().trimmed().toStdString();
    if (const auto refused = RecodeChecks::CheckLabel(m_context, label, *filled)) {
        ui.ShowMessage(*refused, UserInterface::Icon::Warning);
        m_label->setFocus();
        return;
    }
    filled->label = label;
    filled->SetNiveauDepart(m_source.level);
    filled->SetNiveauArrivee(m_targetLevelIndex);
    for (std::size_t i = 0; i < m_methods.size(); ++i)
        if (m_methods[i]->isChecked())
            filled->SetSousType(static_cast<std::int16_t>(i));
    std::string error;
    if (!EnregistrerRecodage(*filled, m_context, m_edited != nullptr ? &m_source : nullptr, error)) {
        ui.ShowMessage(Message::Text(error), UserInterface::Icon::Error);
        return;
    }
    m_recode = std::move(filled);
    QDialog::accept();
}
