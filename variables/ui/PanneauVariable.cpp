#include "variables/ui/PanneauVariable.h"

#include "moc_PanneauVariable.cpp"
