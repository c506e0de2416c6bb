#include "shell/ChildFrame.h"

CChildFrame::CChildFrame(QWidget* parent) : CMDIChildWnd(parent) {}
