// Executable memory for one compiled routine: mapped writable, filled, then switched to read
// and execute, so that it is never writable and executable at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace rpn {

class CodiceEseguibile {
public:
    // The area starts with the x87 control word that the routine loads (RIP-relative), then
    // padding; the code begins at kInizioCodice, so the word sits at -kInizioCodice from it.
    static constexpr std::size_t kInizioCodice = 16;
    static constexpr std::uint16_t kParolaControllo = 0x037F;

    // Raises std::bad_alloc when no memory can be mapped, RPNException when it cannot be
    // made executable.
    explicit CodiceEseguibile(std::span<const std::uint8_t> codice);
    ~CodiceEseguibile();
    CodiceEseguibile(const CodiceEseguibile&) = delete;
    CodiceEseguibile& operator=(const CodiceEseguibile&) = delete;

    const void* Inizio() const { return static_cast<const std::uint8_t*>(area_) + kInizioCodice; }

private:
    void* area_;
    std::size_t dimensione_;
};

}  // namespace rpn
