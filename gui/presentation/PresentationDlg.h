#pragma once

#include <QDialog>

class QCheckBox;
class QHBoxLayout;
class QPushButton;
class QTabWidget;

// The frame the presentation dialogs share: tabs of pages beside a live preview, the box
// "&Définir par défaut", "&OK" and "&Annuler". A dialog works on a copy of its caller's record;
// each page writes its changes into that copy at once and says so (PageModifiee), and the dialog
// refreshes its preview. OK writes the copy as the user's defaults when the box is checked; the
// caller takes the copy back on OK only, so Cancel changes nothing of the caller's.
class CPresentationDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kDefinirParDefaut = 1130;

    QTabWidget& GetOnglets() const { return *m_tabs; }
    QCheckBox& GetDefinirParDefaut() const { return *m_byDefault; }
    QPushButton& GetOk() const { return *m_ok; }
    QPushButton& GetAnnuler() const { return *m_cancel; }

    void accept() override;

public slots:
    // What a page sends after each change it made to the working copy.
    void PageModifiee();

protected:
    CPresentationDlg(const QString& caption, QWidget* parent);

    void AjouterPage(QWidget* page, const QString& title);
    // The preview, at the right of the tabs.
    void SetApercu(QWidget* preview);
    // The working copy becomes the user's defaults.
    virtual void EcrireDefauts() = 0;
    virtual void ActualiserApercu() = 0;

private:
    QTabWidget* m_tabs;
    QHBoxLayout* m_body;
    QCheckBox* m_byDefault;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};
