// Formula fields take a pasted text whole: an edit's default limit of 32,767 characters would
// cut a long formula without a word, and the compiler takes texts of any length.
#pragma once

class QLineEdit;

void AccettaTestoIntero(QLineEdit* edit);
