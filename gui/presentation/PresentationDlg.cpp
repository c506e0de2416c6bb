#include "gui/presentation/PresentationDlg.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

CPresentationDlg::CPresentationDlg(const QString& caption, QWidget* parent)
    : QDialog(parent), m_tabs(new QTabWidget(this)), m_body(new QHBoxLayout()),
      m_byDefault(new QCheckBox(QStringLiteral("&Définir par défaut"), this)),
      m_ok(new QPushButton(QStringLiteral("&OK"), this)), m_cancel(new QPushButton(QStringLiteral("&Annuler"), this))
{
    setWindowTitle(caption);
    m_byDefault->setObjectName(QStringLiteral("1130"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &CPresentationDlg::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CPresentationDlg::reject);

    m_body->addWidget(m_tabs, 0);
    auto* buttons = new QHBoxLayout();
    buttons->addWidget(m_byDefault);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_body, 1);
    layout->addLayout(buttons);
}

void CPresentationDlg::AjouterPage(QWidget* page, const QString& title)
{
    m_tabs->addTab(page, title);
}

void CPresentationDlg::SetApercu(QWidget* preview)
{
    m_body->addWidget(preview, 1);
}

void CPresentationDlg::PageModifiee()
{
    ActualiserApercu();
}

void CPresentationDlg::accept()
{
    if (m_byDefault->isChecked())
        EcrireDefauts();
    QDialog::accept();
}
