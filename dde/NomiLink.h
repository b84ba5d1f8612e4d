// The names under which the link server is found on the session bus, shared by the server
// and the vantor-link client. The adaptor's class information repeats the interface name.
#pragma once

namespace NomiLink {
inline constexpr char Servizio[] = "org.vantor.Quenlor";
inline constexpr char Oggetto[] = "/Vtr";
inline constexpr char Interfaccia[] = "org.vantor.Quenlor";
inline constexpr char Formato[] = "XlTable";
inline constexpr char AdviseStart[] = "AdviseStart";
inline constexpr char AdviseStop[] = "AdviseStop";
inline constexpr char AdviseData[] = "AdviseData";  // the signal that carries a block
inline constexpr char ErroreNonServito[] = "org.vantor.Quenlor.Error.NotSupported";
inline constexpr char ErroreTroppoLungo[] = "org.vantor.Quenlor.Error.TooLong";
}  // namespace NomiLink
