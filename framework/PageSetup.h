#pragma once

#include <QPageLayout>

class QPrinter;
class QWidget;

// "Configuration de l'impression...": the paper, orientation and margins the analyst chose last,
// which every print and preview of the run starts from (the printer's defaults until then).
class CPageSetup {
public:
    // The page set-up dialog on the current choices; OK keeps the new ones.
    static bool Configurer(QWidget* parent);

    // A new printer takes the chosen page layout, if any.
    static void Appliquer(QPrinter& printer);

    static bool EstChoisie() { return s_chosen; }
    static const QPageLayout& GetLayout() { return s_layout; }
    static void SetLayout(const QPageLayout& layout);
    // Back to the printer's defaults.
    static void Oublier();

private:
    static inline QPageLayout s_layout;
    static inline bool s_chosen = false;
};
