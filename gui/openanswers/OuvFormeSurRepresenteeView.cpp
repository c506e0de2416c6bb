#include "gui/openanswers/OuvFormeSurRepresenteeView.h"

COuvFormeSurRepresenteeView::COuvFormeSurRepresenteeView(QWidget* parent) : OuvCategoriesView(kFormes, parent) {}
