#include "ui/frame/VersioneEseguibile.h"

#include <elf.h>

#include <cstdint>
#include <fstream>
#include <map>
#include <optional>
#include <string_view>

namespace {

// Larger tables than these come from a damaged file, not from our build.
constexpr std::uint64_t MassimaTabellaNomi = 1 << 20;
constexpr std::uint64_t MassimaSezione = 1 << 16;

// An ELF file read piece by piece, every read checked against the file's size: an executable
// with its debug information can be large, and a damaged one must not make us read wild.
class TFileElf {
public:
    explicit TFileElf(const std::string& percorso) : file_(percorso, std::ios::binary) {
        if (!file_) return;
        file_.seekg(0, std::ios::end);
        const std::streamoff fine = file_.tellg();
        dimensione_ = fine > 0 ? static_cast<std::uint64_t>(fine) : 0;
    }

    bool Leggi(std::uint64_t offset, void* destinazione, std::uint64_t n) {
        if (offset > dimensione_ || n > dimensione_ - offset) return false;
        file_.clear();
        file_.seekg(static_cast<std::streamoff>(offset));
        file_.read(static_cast<char*>(destinazione), static_cast<std::streamsize>(n));
        return file_.gcount() == static_cast<std::streamsize>(n);
    }

    std::optional<std::string> Contenuto(const Elf64_Shdr& sezione, std::uint64_t massimo) {
        if (sezione.sh_type == SHT_NOBITS || sezione.sh_size > massimo) return std::nullopt;
        std::string dati(sezione.sh_size, '\0');
        if (!Leggi(sezione.sh_offset, dati.data(), dati.size())) return std::nullopt;
        return dati;
    }

private:
    std::ifstream file_;
    std::uint64_t dimensione_ = 0;
};

// The contents of the named section, found through the section header table.
std::optional<std::string> Sezione(const std::string& percorso, std::string_view nome) {
    TFileElf file(percorso);
    Elf64_Ehdr testata{};
    if (!file.Leggi(0, &testata, sizeof testata)) return std::nullopt;
    if (std::string_view(reinterpret_cast<const char*>(testata.e_ident), SELFMAG) != ELFMAG ||
        testata.e_ident[EI_CLASS] != ELFCLASS64 || testata.e_ident[EI_DATA] != ELFDATA2LSB ||
        testata.e_shoff == 0 || testata.e_shentsize < sizeof(Elf64_Shdr))
        return std::nullopt;
    auto intestazione = [&](std::uint64_t indice) -> std::optional<Elf64_Shdr> {
        Elf64_Shdr s{};
        if (!file.Leggi(testata.e_shoff + indice * testata.e_shentsize, &s, sizeof s))
            return std::nullopt;
        return s;
    };
    // Counts that do not fit the file header live in the first section header.
    std::uint64_t numero = testata.e_shnum;
    std::uint64_t indiceNomi = testata.e_shstrndx;
    if (numero == 0 || indiceNomi == SHN_XINDEX) {
        const std::optional<Elf64_Shdr> zero = intestazione(0);
        if (!zero) return std::nullopt;
        if (numero == 0) numero = zero->sh_size;
        if (indiceNomi == SHN_XINDEX) indiceNomi = zero->sh_link;
    }
    if (indiceNomi >= numero) return std::nullopt;
    const std::optional<Elf64_Shdr> tabella = intestazione(indiceNomi);
    if (!tabella) return std::nullopt;
    const std::optional<std::string> nomi = file.Contenuto(*tabella, MassimaTabellaNomi);
    if (!nomi) return std::nullopt;
    for (std::uint64_t i = 0; i < numero; ++i) {
        const std::optional<Elf64_Shdr> sezione = intestazione(i);
        if (!sezione) return std::nullopt;
        if (sezione->sh_name >= nomi->size()) continue;
        if (std::string_view(nomi->c_str() + sezione->sh_name) == nome)
            return file.Contenuto(*sezione, MassimaSezione);
    }
    return std::nullopt;
}

}  // namespace

std::vector<TVoceVersione> LeggiVersione(const std::string& percorso) {
    const std::optional<std::string> dati = Sezione(percorso, VANTOR_SEZIONE_VERSIONE);
    if (!dati) return {};
    // Pairs of NUL-terminated strings; an unterminated tail is ignored.
    std::map<std::string, std::string, std::less<>> valori;
    std::string_view resto = *dati;
    auto prossima = [&]() -> std::optional<std::string_view> {
        const auto fine = resto.find('\0');
        if (fine == std::string_view::npos) return std::nullopt;
        const std::string_view s = resto.substr(0, fine);
        resto.remove_prefix(fine + 1);
        return s;
    };
    while (true) {
        const auto chiave = prossima();
        const auto valore = chiave ? prossima() : std::nullopt;
        if (!valore) break;
        valori.emplace(*chiave, *valore);  // the first of repeated paths holds
    }
    std::vector<TVoceVersione> voci;
    for (const char* chiave : ChiaviVersione) {
        const std::string percorsoChiave =
            std::string("\\StringFileInfo\\" VANTOR_LINGUA_VERSIONE "\\") + chiave;
        if (const auto trovata = valori.find(percorsoChiave); trovata != valori.end())
            voci.push_back({chiave, trovata->second});
    }
    return voci;
}
