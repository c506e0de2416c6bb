#include "shell/AboutDlg.h"

#include "app/InfoVersion.h"
#include "shell/ProgramIcon.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kIconSize = 48;
} // namespace

CAboutDlg::CAboutDlg(const CInfoVersion& info, QWidget* parent)
    : QDialog(parent), m_version(new QLabel(this)), m_notice(new QLabel(this)), m_date(new QLabel(this)) {
    setWindowTitle(QStringLiteral("À propos de Morvane"));
    m_version->setText(QString::fromStdString(info.productName + " " + info.fileVersion));
    m_notice->setText(QString::fromStdString(info.legalNotice));
    const QDate built(info.fileDate.year, info.fileDate.month, info.fileDate.day);
    m_date->setText(built.isValid() ? QLocale().toString(built, QLocale::LongFormat) : QString());

    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(kIconSize, kIconSize));
    auto* texts = new QVBoxLayout;
    texts->addWidget(m_version);
    texts->addWidget(m_notice);
    texts->addWidget(m_date);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts);
    top->addStretch();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
}
