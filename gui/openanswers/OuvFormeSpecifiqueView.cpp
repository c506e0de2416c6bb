#include "gui/openanswers/OuvFormeSpecifiqueView.h"

COuvFormeSpecifiqueView::COuvFormeSpecifiqueView(QWidget* parent) : OuvCategoriesView(kFormes, parent) {}
