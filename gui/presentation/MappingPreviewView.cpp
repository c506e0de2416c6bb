#include "gui/presentation/MappingPreviewView.h"

#include "framework/PageSetup.h"
#include "gui/presentation/MappingView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

CMappingPreviewView::CMappingPreviewView(CMappingView& view, QWidget* parent)
    : QDialog(parent), m_view(view), m_printer(QPrinter::HighResolution) {
    CPageSetup::Appliquer(m_printer);
    setWindowTitle(QStringLiteral("Aperçu avant l'impression"));
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout();
    m_imprimer = new QPushButton(QStringLiteral("&Imprimer..."), this);
    m_fermer = new QPushButton(QStringLiteral("&Fermer"), this);
    buttons->addWidget(m_imprimer);
    buttons->addWidget(m_fermer);
    buttons->addStretch();
    layout->addLayout(buttons);
    m_image = new QLabel(this);
    m_image->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_image, 1);
    connect(m_imprimer, &QPushButton::clicked, this, &CMappingPreviewView::OnImprimer);
    connect(m_fermer, &QPushButton::clicked, this, &QDialog::reject);
    DessinerPage();
}

CMappingPreviewView::~CMappingPreviewView() = default;

// The page at the printer's proportions, its printable area where the printer has it, scaled
// down to the screen.
void CMappingPreviewView::DessinerPage() {
    const QRect printable = CMappingView::ZoneImprimable(m_printer);
    const QRect paper = m_printer.pageLayout().fullRectPixels(m_printer.resolution());
    const double scale = kHauteurApercu / std::max(static_cast<double>(paper.height()), 1.0);
    m_page =
        QImage(std::max(1, static_cast<int>(paper.width() * scale)), kHauteurApercu, QImage::Format_RGB32);
    m_page.fill(Qt::white);
    {
        QPainter painter(&m_page);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.scale(scale, scale);
        m_view.DessinerPage(painter, printable);
    }
    {
        QPainter border(&m_page);
        border.setPen(Qt::gray);
        border.drawRect(m_page.rect().adjusted(0, 0, -1, -1));
    }
    m_image->setPixmap(QPixmap::fromImage(m_page));
}

void CMappingPreviewView::OnImprimer() {
    m_view.Imprimer(m_printer);
    accept();
}
