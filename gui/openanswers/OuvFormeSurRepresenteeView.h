#pragma once

#include "gui/openanswers/OuvCategoriesView.h"

// "Formes (Mots)": the forms over-represented in the answers of each category.
class COuvFormeSurRepresenteeView : public OuvCategoriesView {
public:
    explicit COuvFormeSurRepresenteeView(QWidget* parent = nullptr);
};
