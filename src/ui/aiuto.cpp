// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/aiuto.h"

#include <QStringList>

#include <utility>

namespace brenk {

namespace {

struct Voce {
    const char* area;
    const char* testo;
};

// Texts are UTF-8; each begins with one blank.
constexpr Voce voci[] = {
    {"Frame1", " Inserire il Codice dello Brenk (Renge 1 - 1023)"},
    {"Frame2", " Inserire la frequenza di Tx Vhf o Uhf secondo la Banda (es. 160.9125 - 440.9125)"},
    {"Frame3", " Inserire il Tempo di preallarme Rapina espresso in sec (Range 1 - 255 sec)"},
    {"Frame4", " Inserire il Tempo di preallarme Dell'Antiatterramento espresso in sec (Range 1 - 255 sec)"},
    {"Frame5", " Inserire su quale ingresso deve inviare l'allarme Rapina e Antiatteramento"},
    {"Frame6", " Inserire quante volte deve ripetere lo stesso pacchetto digitale"},
    {"Frame10", " Setup Com seleziona la porta di comunicazione seriale "},
    {"Frame11", " Stato di Connessione ,indica se la connessione e attiva o disattiva tra PC e BRENK"},
    {"Frame15", " Seleziona se deve Trasmettere come Zelm a 2 ing o come Brenk"},
    {"Frame17", " Tempo del Pulsante A che rimane premuto per inviare l'Allarme"},
    {"batteria_scarica", " Ripristina L'ingresso di Allarme"},
    {"toni_h_l", " Toni H/L se impostato ALTI verso Centrale o via BIDI REP ripetuto, BASSI via BIDI REP"},
    {"tx_s_m", " Se impostato SING effetua una sola trasmis., se Mult effetua X Trasmis. impostate in N°di Tx Tot"},
    {"Frame19",
     " I parametri dell'impianto in un file, la programmazione in serie e il registro dei trasmettitori programmati"},
    {"Cmd_apri", " Apri: mette nella finestra i valori di un file di parametri, da trasferire con Programma (Ctrl+O)"},
    {"Cmd_salva", " Salva: scrive i valori della finestra in un file di parametri (Ctrl+S)"},
    {"Chk_serie", " Serie (Alt+S): Connetti e Disconetti mantengono i valori, "
                  "ogni programmazione verificata passa al codice seguente"},
    {"Chk_registro",
     " Registro (Alt+R): aggiunge al file indicato una riga per ogni programmazione e inizializzazione"},
    {"Image1", " Sistemi di Allarme Personale - Assistenza Tecnica"},
    {"Label7", " Configuratore Per Brenk Versione 1.0.5 - Reparto Software"},
};

} // namespace

std::optional<QString> testo_aiuto(QStringView area)
{
    if (area == QLatin1String("Principale"))
        return QString();
    for (const Voce& v : voci) {
        if (area == QLatin1String(v.area))
            return QString::fromUtf8(v.testo);
    }
    return std::nullopt;
}

const QStringList& aree_con_aiuto()
{
    static const QStringList aree = [] {
        QStringList a;
        for (const Voce& v : voci)
            a << QString::fromLatin1(v.area);
        return a;
    }();
    return aree;
}

} // namespace brenk
