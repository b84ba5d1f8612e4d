// The parts shared by the modal dialogs: labelled edits, and the OK and Cancel buttons (OK
// accepts and is the default button).
#pragma once

#include <initializer_list>
#include <utility>

class QBoxLayout;
class QDialog;
class QFormLayout;
class QLineEdit;

// One row "Nome:" per edit, in order; each edit is named after its label.
QFormLayout* CreaRighe(std::initializer_list<std::pair<const char*, QLineEdit*>> campi);

// A row with "OK" (OKBtn) and "Cancel" (CancelBtn), bound to the dialog's accept and reject.
QBoxLayout* CreaPulsantiOkCancel(QDialog* dialogo);
