#pragma once

#include <QWidget>

class CQuestionCalculee;
struct PartiesVariable;

// What a page of "Créer une variable" offers the dialog: it is loaded from a stored definition,
// checked on OK (a failing check shows its own message and keeps the dialog open), and gives the
// parts of the definition from which the variable's answers are computed.
class CPanneauVariable : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

    virtual void Charger(const CQuestionCalculee& definition) = 0;
    virtual bool Verifier() = 0;
    // The kind's texts and source questions; the label and the kind are the dialog's.
    virtual void DonnerParties(PartiesVariable& parts) const = 0;
};
