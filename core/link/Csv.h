// A decoded block as CSV text, the form in which the command-line client hands a link's
// values to spreadsheets and scripts.
#pragma once

#include <span>
#include <string>

#include "core/link/XlTable.h"

// Header "t,X1,..." naming the item's columns (0 is the time t, k is Xk), then one line per
// row; numbers in the shortest form that reads back to the same double, with '.'.
// colonne must have one entry per column of the block.
std::string CsvXlTable(std::span<const int> colonne, const TBloccoXlTable& blocco);
