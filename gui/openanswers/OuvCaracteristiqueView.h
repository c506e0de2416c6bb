#pragma once

#include "gui/openanswers/OuvCategoriesView.h"

// "Réponses caractéristiques": the answers whose vocabulary best characterises each category.
class COuvCaracteristiqueView : public OuvCategoriesView {
public:
    explicit COuvCaracteristiqueView(QWidget* parent = nullptr);
};
