#include "framework/PageSetup.h"

#include <QPageSetupDialog>
#include <QPrinter>

bool CPageSetup::Configurer(QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    Appliquer(printer);
    QPageSetupDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Configuration de l'impression"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    SetLayout(printer.pageLayout());
    return true;
}

void CPageSetup::Appliquer(QPrinter& printer) {
    if (s_chosen)
        printer.setPageLayout(s_layout);
}

void CPageSetup::SetLayout(const QPageLayout& layout) {
    s_layout = layout;
    s_chosen = true;
}

void CPageSetup::Oublier() {
    s_layout = QPageLayout();
    s_chosen = false;
}
