#include "shell/UnavailableView.h"

UnavailableView::UnavailableView(QWidget* parent) : QWidget(parent) {}
