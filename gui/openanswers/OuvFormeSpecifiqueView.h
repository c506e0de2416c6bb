#pragma once

#include "gui/openanswers/OuvCategoriesView.h"

// "Formes (Mots)": the forms over-represented in the answers of each category.
class COuvFormeSpecifiqueView : public OuvCategoriesView {
public:
    explicit COuvFormeSpecifiqueView(QWidget* parent = nullptr);
};
