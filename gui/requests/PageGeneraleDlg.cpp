#include "gui/requests/PageGeneraleDlg.h"

#include "app/ContexteEtude.h"
#include "presentation/PresentationTableau.h"
#include "gui/recodes/ChampEtudeDlg.h"
#include "gui/requests/FusionDlg.h"
#include "gui/requests/SelecteursRedressement.h"
#include "tabulation/Traitement.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <utility>

namespace {

CPageGeneraleDlg::Choosers& InstalledChoosers() {
    static CPageGeneraleDlg::Choosers choosers;
    return choosers;
}

QPushButton* ChooserButton(const QString& text, bool installed, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setEnabled(installed);
    return button;
}

// The study field is chosen in "Champ d'étude" and the weighting in "Redressement" unless other
// choosers are installed.
CPageGeneraleDlg::Choosers WithDefinitionDialogs(CPageGeneraleDlg::Choosers choosers,
                                                 CContexteEtude& context) {
    if (!choosers.weighting)
        choosers.weighting = [&context](QWidget* parent, CIdName& weighting) {
            CRedressementDlg dialog(context, weighting.id, SelecteursRedressement(), parent);
            if (dialog.exec() != QDialog::Accepted)
                return false;
            weighting = dialog.RedressementChoisi();
            return true;
        };
    if (!choosers.studyField)
        choosers.studyField = [&context](QWidget* parent, CIdName& field) {
            CChampEtudeDlg dialog(context, field.id, parent);
            if (dialog.exec() != QDialog::Accepted)
                return false;
            field = dialog.DonnerChampChoisi();
            return true;
        };
    return choosers;
}

// Runs a chooser of a study field or a weighting on a copy, taken back when confirmed.
void Choose(const std::function<bool(QWidget*, CIdName&)>& chooser, QWidget* parent, CIdName& chosen) {
    if (!chooser)
        return;
    CIdName copy = chosen;
    if (chooser(parent, copy))
        chosen = std::move(copy);
}

} // namespace

CPageGeneraleDlg::Choosers CPageGeneraleDlg::InstallChoosers(Choosers choosers) {
    return std::exchange(InstalledChoosers(), std::move(choosers));
}

CPageGeneraleDlg::Choosers CPageGeneraleDlg::ChoosersFor(CContexteEtude& context) {
    return WithDefinitionDialogs(InstalledChoosers(), context);
}

CPageGeneraleDlg::CPageGeneraleDlg(CContexteEtude& context, int templateId,
                                   CPresentationTableau& presentation, const std::string& title,
                                   std::int32_t& level, QWidget* parent)
    : QWidget(parent), m_presentation(presentation), m_level(level),
      m_studyField(context.universeCode, context.universeLabel),
      m_weighting(context.weightingCode, context.weightingLabel),
      m_choosers(ChoosersFor(context)),
      m_title(new QLineEdit(QString::fromStdString(title), this)), m_studyFieldName(new QLabel(this)),
      m_weightingName(new QLabel(this)),
      m_presentationButton(ChooserButton(QStringLiteral("&Présentation..."),
                                         static_cast<bool>(m_choosers.presentation), this)),
      m_studyFieldButton(
          ChooserButton(QStringLiteral("..."), static_cast<bool>(m_choosers.studyField), this)),
      m_weightingButton(ChooserButton(QStringLiteral("..."), static_cast<bool>(m_choosers.weighting), this)) {
    m_level = context.currentLevel;

    auto* titleLabel = new QLabel(QStringLiteral("&Titre :"), this);
    titleLabel->setBuddy(m_title);
    auto* studyFieldLabel = new QLabel(QStringLiteral("&Champ d'étude:"), this);
    studyFieldLabel->setBuddy(m_studyFieldButton);
    auto* weightingLabel = new QLabel(QStringLiteral("&Redressement:"), this);
    weightingLabel->setBuddy(m_weightingButton);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(titleLabel, 0, 0);
    layout->addWidget(m_title, 0, 1, 1, 2);
    layout->addWidget(m_presentationButton, 0, 3);
    layout->addWidget(studyFieldLabel, 1, 0);
    layout->addWidget(m_studyFieldName, 1, 1);
    layout->addWidget(m_studyFieldButton, 1, 2);
    layout->addWidget(weightingLabel, 2, 0);
    layout->addWidget(m_weightingName, 2, 1);
    layout->addWidget(m_weightingButton, 2, 2);
    if (templateId == kAvecFusion) {
        m_fusionButton = new QPushButton(QStringLiteral("&Fusion..."), this);
        layout->addWidget(m_fusionButton, 1, 3);
        connect(m_fusionButton, &QPushButton::clicked, this, &CPageGeneraleDlg::OnFusion);
    }
    layout->setColumnStretch(1, 1);

    connect(m_presentationButton, &QPushButton::clicked, this, &CPageGeneraleDlg::OnPresentation);
    connect(m_studyFieldButton, &QPushButton::clicked, this, &CPageGeneraleDlg::OnStudyField);
    connect(m_weightingButton, &QPushButton::clicked, this, &CPageGeneraleDlg::OnWeighting);
    ShowNames();
}

CPageGeneraleDlg::~CPageGeneraleDlg() = default;

void CPageGeneraleDlg::LireTraitement(const CTraitement& request) {
    m_title->setText(QString::fromStdString(request.title));
    m_presentation = request.presentation;
    m_mergeOptions = request.mergeOptions;
    m_level = request.level;
    m_studyField = CIdName(request.studyFieldId, request.studyFieldName);
    m_weighting = CIdName(request.weightingId, request.weightingName);
    ShowNames();
}

void CPageGeneraleDlg::EcrireTraitement(CTraitement& request) const {
    request.title = GetTitre();
    request.presentation = m_presentation;
    request.mergeOptions = m_mergeOptions;
    request.studyFieldId = m_studyField.id;
    request.weightingId = m_weighting.id;
    request.studyFieldName = m_studyField.name;
    request.weightingName = m_weighting.name;
    request.level = m_level;
}

std::string CPageGeneraleDlg::GetTitre() const {
    return m_title->text().toStdString();
}

void CPageGeneraleDlg::OnPresentation() {
    if (!m_choosers.presentation)
        return;
    CPresentationTableau copy = m_presentation;
    if (m_choosers.presentation(this, copy))
        m_presentation = copy;
}

void CPageGeneraleDlg::OnFusion() {
    CFusionDlg dialog(m_mergeOptions, this);
    if (dialog.exec() == QDialog::Accepted)
        m_mergeOptions = dialog.GetTypeFusion();
}

void CPageGeneraleDlg::OnStudyField() {
    Choose(m_choosers.studyField, this, m_studyField);
    ShowNames();
}

void CPageGeneraleDlg::OnWeighting() {
    Choose(m_choosers.weighting, this, m_weighting);
    ShowNames();
}

void CPageGeneraleDlg::ShowNames() {
    m_studyFieldName->setText(QString::fromStdString(m_studyField.name));
    m_weightingName->setText(QString::fromStdString(m_weighting.name));
}
