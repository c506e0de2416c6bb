#pragma once

#include "gui/openanswers/OuvCategoriesView.h"

// "Segments répétés" of the specificities: the repeated segments over-represented in each category.
class COuvSpeSegmentView : public OuvCategoriesView {
public:
    explicit COuvSpeSegmentView(QWidget* parent = nullptr);
};
