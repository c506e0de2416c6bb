#include "gui/openanswers/OuvSpeSegmentView.h"

COuvSpeSegmentView::COuvSpeSegmentView(QWidget* parent) : OuvCategoriesView(kSegments, parent) {}
