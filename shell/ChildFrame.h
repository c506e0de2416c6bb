#pragma once

#include "platform/ui/MDIChildWnd.h"

// The frame of every document window of the program: the framework's child frame, which the
// templates make for each window they open.
class CChildFrame : public CMDIChildWnd {
    Q_OBJECT

public:
    explicit CChildFrame(QWidget* parent = nullptr);
};
