#pragma once

#include "framework/MDIChildWnd.h"

// The frame of every document window of the program: the framework's child frame, which the
// templates make for each window they open.
class CChildFrame : public CMDIChildWnd {
    Q_OBJECT

public:
    explicit CChildFrame(QWidget* parent = nullptr);

    // A new window takes a good part of the main window's document area (whatever small size its
    // view asks for), so that a table or a tree shows much of itself at once; cascading keeps it.
    QSize sizeHint() const override;
};
