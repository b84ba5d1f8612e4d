// The OK and Cancel buttons shared by the modal dialogs: OK accepts and is the default button.
#pragma once

class QBoxLayout;
class QDialog;

// A row with "OK" (OKBtn) and "Cancel" (CancelBtn), bound to the dialog's accept and reject.
QBoxLayout* CreaPulsantiOkCancel(QDialog* dialogo);
