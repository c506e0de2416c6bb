#pragma once

#include "framework/ScrollView.h"
#include "statistics/Dendogramme.h"

class CDendogrammeDoc;
class QContextMenuEvent;

// Draws the document's tree in its reduced mode (small circles, the initial one) or its detailed
// mode (boxes naming the groups, with their number of interviews and level); the right button
// offers the two modes.
class CDendogrammeView : public CScrollView {
    Q_OBJECT

public:
    enum Commande { kModeReduit = 32853, kModeDetaille = 32854 };
    // Beyond it the scroll area stops growing.
    static constexpr int kTailleMaximum = 32767;

    explicit CDendogrammeView(QWidget* parent = nullptr);

    void OnInitialUpdate() override;
    void SetMode(CDendogramme::Mode mode);
    CDendogramme::Mode GetMode() const { return m_mode; }

    // The tree drawn over a painter whose origin is the drawing's.
    void Dessiner(QPainter& painter) const;

protected:
    void OnDraw(QPainter& painter) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    const CDendogramme* Arbre() const;

    CDendogramme::Mode m_mode = CDendogramme::Mode::Reduit;
};
