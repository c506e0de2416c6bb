#include "shell/SaisieValeurDlg.h"

#include "app/ContexteEtude.h"
#include "app/StringTable.h"
#include "platform/questionnaire/StaticTools.h"
#include "gui/requests/SelectionButtons.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kEditMinimumWidth = 260;

void Tell(const Message& message) {
    if (CContexteEtude* context = GetContexte())
        context->GetUserInterface().ShowMessage(message, UserInterface::Icon::Warning);
}

// A bound as "%g" shows it, in the user's way of writing numbers.
std::string BoundText(double bound) {
    return QLocale().toString(bound, 'g', 6).toStdString();
}

} // namespace

CSaisieValeurDlg::CSaisieValeurDlg(int promptId, Mode mode, QWidget* parent)
    : QDialog(parent), m_mode(mode), m_prompt(new QLabel(this)), m_value(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("Velto"));
    m_prompt->setText(QString::fromStdString(StringTable::Text(promptId)));
    m_prompt->setWordWrap(true);
    m_prompt->setBuddy(m_value);
    m_value->setMinimumWidth(kEditMinimumWidth);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addWidget(m_value);
    QDialogButtonBox* buttons = AddOkCancelButtons(*this, *layout);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_cancel = buttons->button(QDialogButtonBox::Cancel);
}

CSaisieValeurDlg::CSaisieValeurDlg(int promptId, double minimum, double maximum, int initial, QWidget* parent)
    : CSaisieValeurDlg(promptId, kNombre, parent) {
    m_minimum = minimum;
    m_maximum = maximum;
    m_value->setText(QString::number(initial));
    m_value->selectAll();
}

CSaisieValeurDlg::CSaisieValeurDlg(int promptId, const std::string& initial, int maximumLength, QWidget* parent)
    : CSaisieValeurDlg(promptId, kTexte, parent) {
    m_maximumLength = maximumLength;
    m_value->setText(QString::fromStdString(initial));
    m_value->selectAll();
}

std::string CSaisieValeurDlg::GetTexte() const {
    return m_value->text().toStdString();
}

void CSaisieValeurDlg::accept() {
    if (m_mode == kNombre ? AccepteNombre() : AccepteTexte())
        QDialog::accept();
}

bool CSaisieValeurDlg::AccepteNombre() {
    std::int32_t number = 0;
    if (!CStaticTools::EstLong(GetTexte(), number)) {
        Tell(Message(StringTable::kEntrerUnNombre));
        return false;
    }
    if (number < m_minimum || number > m_maximum) {
        Tell(Message(StringTable::kEntrerNombreEntre, {BoundText(m_minimum), BoundText(m_maximum)}));
        return false;
    }
    m_result = number;
    return true;
}

bool CSaisieValeurDlg::AccepteTexte() const {
    const QString text = m_value->text();
    if (text.isEmpty()) {
        Tell(Message(StringTable::kScriptExpressionVide));
        return false;
    }
    // Characters as the analyst counts them, not bytes.
    if (m_maximumLength != kSansLimite && text.toUcs4().size() > m_maximumLength) {
        Tell(Message(StringTable::kCaracteresMaximum, {std::to_string(m_maximumLength)}));
        return false;
    }
    return true;
}
