// Page-granular executable areas for compiled formulas.
#include "core/formula/detail/CodiceEseguibile.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <new>

#include "core/formula/RPNCompiler.h"

namespace rpn {

CodiceEseguibile::CodiceEseguibile(std::span<const std::uint8_t> codice) {
    const std::size_t pagina = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t necessari = kInizioCodice + codice.size();
    dimensione_ = (necessari + pagina - 1) / pagina * pagina;
    area_ = mmap(nullptr, dimensione_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area_ == MAP_FAILED) throw std::bad_alloc();
    auto* byte = static_cast<std::uint8_t*>(area_);
    std::memcpy(byte, &kParolaControllo, sizeof kParolaControllo);
    std::memcpy(byte + kInizioCodice, codice.data(), codice.size());
    if (mprotect(area_, dimensione_, PROT_READ | PROT_EXEC) != 0) {
        munmap(area_, dimensione_);
        throw RPNException("Cannot make the compiled formula executable!");
    }
}

CodiceEseguibile::~CodiceEseguibile() { munmap(area_, dimensione_); }

}  // namespace rpn
