#include "gui/presentation/ModeMappingDlg.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "framework/QtUserInterface.h"
#include "gui/requests/SelQuestionDlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

namespace {

struct Radio {
    int mode;
    const char* texte;
};

constexpr Radio kRadios[] = {
    {ModeMappingDlg::kAucun, "Aucun"},
    {ModeMappingDlg::kCoordonnees, "Selon des coordonnées factorielles"},
    {ModeMappingDlg::kQualites, "Selon des qualités de représentation"},
    {ModeMappingDlg::kContributions, "Selon des contributions"},
    {ModeMappingDlg::kQuestion, "Selon une question"},
};

QString Libelle(const CQuestionEtendue* question) {
    return question != nullptr ? QString::fromStdString(question->GetCaption()) : QString();
}

} // namespace

ModeMappingDlg::ModeMappingDlg(const QString& caption, bool question, bool qualite, bool contribution,
                               int axes, QWidget* parent)
    : QDialog(parent), m_radios(new QButtonGroup(this)) {
    setWindowTitle(caption);
    m_main = new QVBoxLayout(this);
    auto* modes = new QVBoxLayout();
    for (const Radio& radio : kRadios) {
        auto* button = new QRadioButton(QString::fromUtf8(radio.texte), this);
        m_radios->addButton(button, radio.mode);
        modes->addWidget(button);
    }
    m_radios->button(kQualites)->setEnabled(qualite);
    m_radios->button(kContributions)->setEnabled(contribution);
    m_radios->button(kQuestion)->setEnabled(question);
    m_main->addLayout(modes);

    auto* details = new QGridLayout();
    m_axeLabel = new QLabel(QStringLiteral("Axe:"), this);
    m_axe = new QSpinBox(this);
    m_axe->setRange(1, std::max(axes, 1));
    m_axeLabel->setBuddy(m_axe);
    details->addWidget(m_axeLabel, 0, 0);
    details->addWidget(m_axe, 0, 1);
    m_questionLabel = new QLabel(QStringLiteral("Question:"), this);
    m_questionCaption = new QLabel(this);
    m_questionCaption->setMinimumWidth(200);
    m_questionCaption->setFrameShape(QFrame::StyledPanel);
    m_questionButton = new QPushButton(QStringLiteral("..."), this);
    details->addWidget(m_questionLabel, 1, 0);
    details->addWidget(m_questionCaption, 1, 1);
    details->addWidget(m_questionButton, 1, 2);
    details->setColumnStretch(1, 1);
    m_main->addLayout(details);

    m_body = new QVBoxLayout();
    m_main->addLayout(m_body);

    connect(m_radios, &QButtonGroup::idClicked, this, &ModeMappingDlg::OnMode);
    connect(m_questionButton, &QPushButton::clicked, this, &ModeMappingDlg::OnChoisirQuestion);
}

void ModeMappingDlg::Terminer() {
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("&Annuler"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &ModeMappingDlg::OnOk);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_main->addWidget(buttons);
}

void ModeMappingDlg::Initialiser(int mode, int axe, CQuestionEtendue* question) {
    m_mode = std::clamp(mode, static_cast<int>(kAucun), static_cast<int>(kQuestion));
    m_axe->setValue(axe);
    m_question = question;
    m_questionCaption->setText(Libelle(question));
    if (QAbstractButton* radio = m_radios->button(m_mode))
        radio->setChecked(true);
    AfficherControles();
}

int ModeMappingDlg::GetAxe() const {
    return m_axe->value();
}

QAbstractButton& ModeMappingDlg::GetRadio(int mode) const {
    return *m_radios->button(mode);
}

bool ModeMappingDlg::AxeVisible() const {
    return !m_axe->isHidden();
}

bool ModeMappingDlg::QuestionVisible() const {
    return !m_questionButton->isHidden();
}

void ModeMappingDlg::OnMode(int mode) {
    m_mode = mode;
    AfficherControles();
}

void ModeMappingDlg::AfficherControles() {
    const bool axe = m_mode >= kCoordonnees && m_mode <= kContributions;
    const bool question = m_mode == kQuestion;
    for (QWidget* widget : {static_cast<QWidget*>(m_axeLabel), static_cast<QWidget*>(m_axe)})
        widget->setVisible(axe);
    for (QWidget* widget : {static_cast<QWidget*>(m_questionLabel), static_cast<QWidget*>(m_questionCaption),
                            static_cast<QWidget*>(m_questionButton)})
        widget->setVisible(question);
}

void ModeMappingDlg::OnChoisirQuestion() {
    CSelQuestionDlg picker(CSelQuestionDlg::kFermeesSansClassementOuNumeriques, m_question, this);
    if (picker.exec() != QDialog::Accepted)
        return;
    m_question = picker.GetQuestion();
    m_questionCaption->setText(Libelle(m_question));
}

void ModeMappingDlg::OnOk() {
    if (m_mode == kQuestion && m_question == nullptr) {
        const Message message(StringTable::kSelectionnerQuestion);
        if (CContexteEtude* context = GetContexte()) {
            context->GetUserInterface().ShowMessage(message, UserInterface::Icon::Warning);
        } else {
            QtUserInterface user(this);
            user.ShowMessage(message, UserInterface::Icon::Warning);
        }
        return;
    }
    Enregistrer();
    accept();
}
