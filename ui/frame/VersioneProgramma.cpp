// The program's version information, in a section of its own executable file, where the
// about box reads it back. Linked into the program only, not into the library the tests use.
#include "ui/frame/VersioneEseguibile.h"

#define VOCE(chiave, valore) \
    "\\StringFileInfo\\" VANTOR_LINGUA_VERSIONE "\\" chiave "\0" valore "\0"

[[gnu::used, gnu::retain, gnu::section(VANTOR_SEZIONE_VERSIONE)]]
const char VersioneProgramma[] =
    VOCE("CompanyName", "Vantor")
    VOCE("FileDescription", "Risolutore numerico di sistemi dinamici")
    VOCE("FileVersion", VANTOR_VERSIONE)
    VOCE("InternalName", "vantor")
    VOCE("LegalCopyright", "Copyright (C) gli autori di Vantor")
    VOCE("LegalTradeMarks", "Nessun marchio registrato")
    VOCE("OriginalFileName", "vantor")
    VOCE("ProductName", "Vantor")
    VOCE("ProductVersion", VANTOR_VERSIONE)
    VOCE("Comments", "Equazioni stocastiche e ordinarie, mappe unidimensionali");
