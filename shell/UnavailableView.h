#pragma once

#include "framework/View.h"

#include <QWidget>

// The view of a window the program does not have yet (see UnavailableDocument): never shown,
// since its document refuses every opening, but a template needs a view to build.
class UnavailableView : public QWidget, public CView {
public:
    explicit UnavailableView(QWidget* parent = nullptr);
};
