#pragma once

#include <QDialog>
#include <QImage>
#include <QPrinter>

class CMappingView;
class QLabel;
class QPushButton;

// The print preview of a map window: the page the printer would get, drawn by the map view as it
// prints, under two buttons: "Imprimer", which prints through the map view and closes the preview,
// and "Fermer".
class CMappingPreviewView : public QDialog {
    Q_OBJECT

public:
    // The page is shown at most this many pixels high.
    static constexpr int kHauteurApercu = 700;

    explicit CMappingPreviewView(CMappingView& view, QWidget* parent = nullptr);
    ~CMappingPreviewView() override;

    // The page as shown.
    const QImage& GetPage() const { return m_page; }
    QPushButton& GetBoutonImprimer() const { return *m_imprimer; }
    QPushButton& GetBoutonFermer() const { return *m_fermer; }

    // The printer the preview shows and prints on.
    QPrinter& GetPrinter() { return m_printer; }

private:
    void OnImprimer();
    void DessinerPage();

    CMappingView& m_view;
    QPrinter m_printer;
    QImage m_page;
    QLabel* m_image = nullptr;
    QPushButton* m_imprimer = nullptr;
    QPushButton* m_fermer = nullptr;
};
