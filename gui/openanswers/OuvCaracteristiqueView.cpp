#include "gui/openanswers/OuvCaracteristiqueView.h"

COuvCaracteristiqueView::COuvCaracteristiqueView(QWidget* parent) : OuvCategoriesView(kReponses, parent) {}
