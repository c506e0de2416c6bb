#include "gui/variables/PanneauVariable.h"

#include "moc_PanneauVariable.cpp"
