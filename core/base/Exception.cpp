#include "core/base/Exception.h"

#include <cstdint>
#include <cstdio>
#include <cxxabi.h>
#include <filesystem>
#include <memory>
#include <string_view>
#include <typeinfo>

Exception::Exception(std::string message)
    : message_(std::move(message)), address_(__builtin_return_address(0)) {}

namespace {

std::string NomeModulo() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("vantor") : exe.filename().string();
}

std::string NomeClasse(const std::exception& e) {
    if (auto* own = dynamic_cast<const Exception*>(&e)) return own->ClassName();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(
        abi::__cxa_demangle(typeid(e).name(), nullptr, nullptr, &status), std::free);
    return status == 0 && name ? name.get() : typeid(e).name();
}

std::string Rapporto(const std::string& classe, const void* address, std::string message) {
    message = Frase(std::move(message));
    char indirizzo[2 * sizeof(void*) + 1];
    std::snprintf(indirizzo, sizeof indirizzo, "%016llX",
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(address)));
    std::string report = "Exception " + classe + " in module " + NomeModulo() + " at " +
                         indirizzo + ".\n" + message;
    if (report.size() > 255) report.resize(255);
    return report;
}

}  // namespace

std::string Frase(std::string message) {
    if (message.empty() || std::string_view(".!?").find(message.back()) == std::string::npos)
        message += '.';
    return message;
}

std::string RapportoEccezione(const std::exception& e) {
    auto* own = dynamic_cast<const Exception*>(&e);
    return Rapporto(NomeClasse(e), own ? own->Address() : nullptr, e.what());
}

std::string RapportoEccezioneCorrente() {
    try {
        throw;
    } catch (const std::exception& e) {
        return RapportoEccezione(e);
    } catch (...) {
        return Rapporto("Exception", nullptr, "Unknown exception");
    }
}
