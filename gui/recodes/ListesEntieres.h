#pragma once

class QListWidget;
class QTreeWidget;

// Lists of the study-field dialogs asked to show whole: as wide as their widest item (indentation
// and icons included, and the scroll bar when they scroll), and as tall as their rows up to
// kLignesEntieres, beyond which they scroll. Called after the list is filled (and the tree
// expanded); the dialog's layout then sizes itself around them.
namespace ListesEntieres {

constexpr int kLignesEntieres = 20;
// An empty or short list still shows a few rows.
constexpr int kLignesAuMoins = 4;

void Ajuster(QListWidget& list);
void Ajuster(QTreeWidget& tree);

} // namespace ListesEntieres
