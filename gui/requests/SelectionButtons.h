#pragma once

class QBoxLayout;
class QDialog;
class QDialogButtonBox;

// The "&OK" and "&Annuler" buttons at the foot of a selection dialog: OK asks the dialog's
// accept(), which may keep it open, and Annuler its reject().
QDialogButtonBox* AddOkCancelButtons(QDialog& dialog, QBoxLayout& layout);
