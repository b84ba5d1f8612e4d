#include "ui/windows/AvvisiPiano.h"

QString AvvisoGriglia(Extended inizio, Extended fine, Extended passo) {
    // A grid the system refuses never gets here.
    if (!(fine > inizio))
        return "Fine non supera Inizio: il percorso non ha tempi da tracciare e i piani "
               "restano vuoti.";
    if (!(passo <= fine - inizio))
        return "Il passo supera Fine - Inizio: il percorso ha un solo passo e ogni traiettoria "
               "è un segmento.";
    return {};
}

QString AvvisoTempi(Extended inizio, Extended fine, Extended passo) {
    // Written so that a NaN fails each test and gets its reason.
    if (!(passo > 0))
        return "Il passo non è positivo: la curva non avanza nel tempo e il piano resta vuoto.";
    if (!(fine > inizio))
        return "Fine non supera Inizio: la curva non ha tempi da percorrere e il piano resta "
               "vuoto.";
    if (!(passo <= fine - inizio))
        return "Il passo supera Fine - Inizio: la curva si ferma al primo punto e il piano "
               "resta vuoto.";
    return {};
}

QString AvvisoIterazioni(int iterazioni) {
    if (iterazioni >= 0) return {};
    return "Iterazioni è negativo: della ragnatela resta solo il punto di partenza.";
}
