// The parts shared by the modal dialogs: labelled edits, the OK and Cancel buttons (OK
// accepts and is the default button), and a tab order that follows the layout.
#pragma once

#include <initializer_list>
#include <utility>

class QBoxLayout;
class QDialog;
class QFormLayout;
class QLineEdit;
class QWidget;

// One row "Nome:" per edit, in order; each edit is named after its label.
QFormLayout* CreaRighe(std::initializer_list<std::pair<const char*, QLineEdit*>> campi);

// A row with "OK" (OKBtn) and "Annulla" (CancelBtn), bound to the dialog's accept and reject.
QBoxLayout* CreaPulsantiOkCancel(QDialog* dialogo);

// Tab walks the controls in the order of the dialog's layout (top to bottom, left to right),
// whatever order they were created in; call at the end of each constructor.
void OrdinaTabulazione(QWidget* dialogo);
