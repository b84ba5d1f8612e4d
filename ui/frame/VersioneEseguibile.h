// The version information of an executable: key/value strings that the build stores in a
// section of its own in the ELF file, and the reader that takes them back from the file.
#pragma once

#include <array>
#include <string>
#include <vector>

// The section holds NUL-terminated strings in pairs: the query path
// "\StringFileInfo\<language>\<key>", then its value.
#define VANTOR_SEZIONE_VERSIONE ".vantor.version"
#define VANTOR_LINGUA_VERSIONE "041004E4"  // Italian, code page 1252

inline constexpr std::array<const char*, 10> ChiaviVersione = {
    "CompanyName",    "FileDescription",  "FileVersion", "InternalName",   "LegalCopyright",
    "LegalTradeMarks", "OriginalFileName", "ProductName", "ProductVersion", "Comments"};

struct TVoceVersione {
    std::string chiave;
    std::string valore;
    bool operator==(const TVoceVersione&) const = default;
};

// The keys of ChiaviVersione that the file holds for the language, in that order. A file that
// cannot be read, is not a 64-bit ELF file or has no such section gives an empty list.
std::vector<TVoceVersione> LeggiVersione(const std::string& percorso);
