// SPDX-License-Identifier: GPL-3.0-or-later
// brenk-sim: a simulated transmitter on a pseudo-terminal. The first line it
// prints is the device to open as serial port; then one line per event.

#include "link/segnali.h"
#include "params/blocco.h"
#include "programma.h"
#include "simulatore.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>
#include <QTimer>

#include <climits>

namespace {

using brenk::Simulatore;

struct Scelte {
    Simulatore::Opzioni opzioni;
    bool registro = false;
    std::optional<int> ritorno_ms;
};

const QList<QCommandLineOption>& opzioni_riga()
{
    static const QList<QCommandLineOption> opzioni{
        {"memoria",
         "Contenuto della memoria: zeri, uhf, vhf, vecchio (blocco UHF di tipo vecchio) "
         "oppure un file di 64 byte. Predefinito: uhf.",
         "tipo", "uhf"},
        {"link", "Crea un collegamento simbolico al dispositivo in <percorso>.", "percorso"},
        {"latenza-adattatore",
         "Come un adattatore USB: i byte verso il PC passano a gruppi, ogni <ms> "
         "millisecondi.",
         "ms"},
        {"mai-k", "Guasto: non annuncia mai \"K\"."},
        {"spazzatura", "Guasto: invia <testo> prima di ogni \"K\" di annuncio.", "testo"},
        {"conferme-max", "Guasto: dopo <n> scritture non memorizza e non risponde più.", "n"},
        {"k-minuscola", "Guasto: conferma le scritture con \"k\" invece di \"K\"."},
        {"extra-dopo", "Guasto: un byte in più dopo la risposta di lettura numero <n> (da 0).", "n"},
        {"checksum-errato", "Guasto: all'indirizzo 61 risponde con la somma di controllo più 1."},
        {"riaggancia-dopo",
         "Guasto: chiude la linea al byte ricevuto numero <n>, "
         "come un adattatore USB staccato.",
         "n"},
        {"conferma-ritardata",
         "Guasto: la conferma della scrittura numero <n> (da 0) parte dopo <ms> "
         "millisecondi; ripetibile.",
         "n:ms"},
        {"annunci-da-collegato", "Guasto: anche da collegato annuncia \"K\" quando il PC tace per "
                                 "l'intervallo degli annunci."},
        {"rumore", "Guasto: da collegato invia un byte di disturbo ogni <ms> millisecondi.", "ms"},
        {"byte-rumore", "Il byte di disturbo di --rumore, da 0 a 255. Predefinito: 255.", "byte", "255"},
        {"indirizzo-guasto", "Guasto: l'indirizzo <n> memorizza il valore scritto più 1.", "n"},
        {"scrittura-persa", "Guasto: la scrittura numero <n> (da 0) è confermata ma non memorizzata.", "n"},
        {"l-non-sentite", "Guasto: non sente le prime <n> \"L\" e resta scollegato ad annunciare.", "n"},
        {"reset-dopo-letture", "Guasto: si riavvia dopo <n> risposte di lettura e torna ad annunciare \"K\".", "n"},
        {"reset-dopo-conferme", "Guasto: si riavvia dopo <n> conferme di scrittura e torna ad annunciare \"K\".", "n"},
        {"risposta-colpita",
         "Guasto: la risposta di lettura numero <n> (da 0) è colpita sulla linea e arriva "
         "come un altro valore.",
         "n"},
        {"ritardo-risposte", "Guasto: risponde a ogni richiesta dopo <ms> millisecondi, una richiesta alla volta.",
         "ms"},
        {"eco", "Guasto: il cavo rimanda al PC ogni byte che il PC invia."},
        {"ritardo-indirizzo",
         "Guasto: la risposta di lettura all'indirizzo <a> parte dopo <ms> millisecondi, "
         "le altre richieste hanno risposta come sempre; ripetibile.",
         "a:ms"},
        {"rimbalzo",
         "Guasto: la risposta di lettura all'indirizzo <a> torna al PC una seconda volta "
         "<ms> millisecondi dopo; ripetibile.",
         "a:ms"},
        {"k-dopo-silenzio",
         "Guasto: da scollegato annuncia \"K\" <ms> millisecondi dopo l'ultimo byte "
         "ricevuto, poi all'intervallo degli annunci.",
         "ms"},
        {"bit7-perso", "Guasto: i byte verso il PC perdono il bit 7."},
        {"ritorno",
         "Dopo una chiusura della linea torna dopo <ms> millisecondi "
         "su un nuovo dispositivo.",
         "ms"},
        {"registro", "Stampa ogni byte ricevuto in esadecimale con il suo istante."},
    };
    return opzioni;
}

// The range of each number option; any other takes 0 and up.
std::pair<int, int> limiti(const QString& nome)
{
    static const QMap<QString, std::pair<int, int>> limiti{
        {"rumore", {1, INT_MAX}},
        {"byte-rumore", {0, 255}},
        {"indirizzo-guasto", {0, brenk::dimensione_blocco - 1}},
    };
    return limiti.value(nome, {0, INT_MAX});
}

std::optional<int> numero(const QCommandLineParser& riga, const QString& nome, QString& errore)
{
    if (!riga.isSet(nome))
        return std::nullopt;
    const auto [minimo, massimo] = limiti(nome);
    bool ok = false;
    const int n = riga.value(nome).toInt(&ok);
    if (!ok || n < minimo || n > massimo)
        errore = QStringLiteral("--%1 %2: serve un numero intero da %3 a %4")
                     .arg(nome, riga.value(nome))
                     .arg(minimo)
                     .arg(massimo);
    return n;
}

// "n:ms" pairs, each number whole and not negative.
QMap<int, int> ritardi(const QCommandLineParser& riga, const QString& nome, QString& errore)
{
    QMap<int, int> ritardi;
    for (const QString& coppia : riga.values(nome)) {
        const QStringList parti = coppia.split(QLatin1Char(':'));
        bool ok_n = false, ok_ms = false;
        const int n = parti.value(0).toInt(&ok_n);
        const int ms = parti.value(1).toInt(&ok_ms);
        if (parti.size() != 2 || !ok_n || !ok_ms || n < 0 || ms < 0)
            errore = QStringLiteral("--%1 %2: serve n:ms, due numeri interi da 0 a %3").arg(nome, coppia).arg(INT_MAX);
        ritardi.insert(n, ms);
    }
    return ritardi;
}

std::optional<brenk::Memoria> memoria(const QString& tipo, QString& errore)
{
    static const QList<std::pair<QString, brenk::Contenuto>> nomi{
        {"zeri", brenk::Contenuto::Zeri},
        {"uhf", brenk::Contenuto::UHF},
        {"vhf", brenk::Contenuto::VHF},
        {"vecchio", brenk::Contenuto::Vecchio},
    };
    for (const auto& [nome, contenuto] : nomi)
        if (tipo == nome)
            return brenk::memoria_predefinita(contenuto);
    QString perche;
    const auto da_file = brenk::memoria_da_file(tipo, &perche);
    if (!da_file)
        errore = QStringLiteral("--memoria %1: serve zeri, uhf, vhf, vecchio oppure un file di %2 byte (%3)")
                     .arg(tipo)
                     .arg(brenk::dimensione_blocco)
                     .arg(perche);
    return da_file;
}

std::optional<Scelte> analizza(const QCommandLineParser& riga, QString& errore)
{
    Scelte s;
    Simulatore::Opzioni& o = s.opzioni;
    if (!riga.positionalArguments().isEmpty())
        errore = QStringLiteral("argomento inatteso '%1'.").arg(riga.positionalArguments().constFirst());
    const auto m = memoria(riga.value("memoria"), errore);
    if (m)
        o.memoria = *m;
    o.link = riga.value("link");
    o.latenza_adattatore_ms = numero(riga, "latenza-adattatore", errore);
    o.mai_k = riga.isSet("mai-k");
    o.spazzatura = riga.value("spazzatura").toLatin1();
    o.conferme_max = numero(riga, "conferme-max", errore);
    o.k_minuscola = riga.isSet("k-minuscola");
    o.extra_dopo = numero(riga, "extra-dopo", errore);
    o.checksum_errato = riga.isSet("checksum-errato");
    o.riaggancia_dopo = numero(riga, "riaggancia-dopo", errore);
    o.conferme_ritardate = ritardi(riga, "conferma-ritardata", errore);
    o.ritardi_indirizzo = ritardi(riga, "ritardo-indirizzo", errore);
    o.rimbalzi = ritardi(riga, "rimbalzo", errore);
    o.annuncio_dopo_silenzio_ms = numero(riga, "k-dopo-silenzio", errore);
    o.bit7_perso = riga.isSet("bit7-perso");
    o.annunci_da_collegato = riga.isSet("annunci-da-collegato");
    o.rumore_ogni_ms = numero(riga, "rumore", errore);
    o.byte_rumore = static_cast<std::uint8_t>(numero(riga, "byte-rumore", errore).value_or(255));
    o.indirizzo_guasto = numero(riga, "indirizzo-guasto", errore);
    o.scrittura_persa = numero(riga, "scrittura-persa", errore);
    o.l_non_sentite = numero(riga, "l-non-sentite", errore).value_or(0);
    o.reset_dopo_letture = numero(riga, "reset-dopo-letture", errore);
    o.reset_dopo_conferme = numero(riga, "reset-dopo-conferme", errore);
    o.risposta_colpita = numero(riga, "risposta-colpita", errore);
    o.ritardo_risposte_ms = numero(riga, "ritardo-risposte", errore).value_or(0);
    o.eco = riga.isSet("eco");
    s.ritorno_ms = numero(riga, "ritorno", errore);
    s.registro = riga.isSet("registro");
    if (!errore.isEmpty())
        return std::nullopt;
    return s;
}

void racconta(Simulatore& sim, const Scelte& scelte, QTextStream& out)
{
    QObject::connect(&sim, &Simulatore::stato_collegamento,
                     [&out](bool collegato) { out << (collegato ? "Collegato" : "Scollegato") << Qt::endl; });
    QObject::connect(&sim, &Simulatore::trasmissione, [&out] { out << "Trasmissione di prova ricevuta" << Qt::endl; });
    QObject::connect(&sim, &Simulatore::ignorato, [&out](quint8 byte) {
        out << QStringLiteral("Byte ignorato %1").arg(byte, 2, 16, QChar('0')).toUpper() << Qt::endl;
    });
    if (scelte.registro) {
        QObject::connect(&sim, &Simulatore::ricevuto, [&out](quint8 byte, double ms) {
            out << QStringLiteral("%1 ms  %2").arg(ms, 10, 'f', 3).arg(byte, 2, 16, QChar('0')).toUpper() << Qt::endl;
        });
    }
    QObject::connect(&sim, &Simulatore::riagganciato, [&sim, &out, ritorno = scelte.ritorno_ms] {
        out << "Linea chiusa" << Qt::endl;
        if (!ritorno)
            return;
        QTimer::singleShot(*ritorno, &sim, [&sim, &out] {
            QString errore;
            if (sim.ritorna(&errore))
                out << "Linea di nuovo aperta: " << sim.dispositivo() << Qt::endl;
            else
                out << "Linea non riaperta: " << errore << Qt::endl;
        });
    });
}

} // namespace

int main(int argc, char* argv[])
{
    // The signals to end arrive through the event loop, so the program ends
    // by returning from main and the link is removed.
    brenk::SegnaliDiUscita::trattieni();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("brenk-sim");
    QCoreApplication::setApplicationVersion(brenk::testo_versione());
    brenk::parla_italiano();

    QCommandLineParser riga;
    riga.setApplicationDescription("Trasmettitore simulato su uno pseudo-terminale. La prima riga stampata è il "
                                   "dispositivo da aprire come porta seriale.");
    riga.addHelpOption();
    riga.addVersionOption();
    riga.addOptions(opzioni_riga());

    QTextStream out(stdout);
    QTextStream err(stderr);
    QString errore;
    const bool letta = riga.parse(app.arguments());
    if (letta && (riga.isSet("help") || riga.isSet("help-all") || riga.isSet("version")))
        riga.process(app); // answers and ends
    const auto scelte = letta ? analizza(riga, errore) : std::nullopt;
    if (!scelte) {
        if (!letta)
            errore = riga.errorText();
        err << "brenk-sim: " << errore << Qt::endl;
        return 2;
    }

    brenk::SegnaliDiUscita segnali;
    QObject::connect(&segnali, &brenk::SegnaliDiUscita::arrivato, &app, &QCoreApplication::quit);
    Simulatore sim(scelte->opzioni);
    if (!segnali.ascoltati() || !sim.avvia(&errore)) {
        err << "brenk-sim: " << (segnali.ascoltati() ? errore : QStringLiteral("segnali non gestibili")) << Qt::endl;
        return 1;
    }
    out << sim.dispositivo() << Qt::endl;
    racconta(sim, *scelte, out);
    return app.exec();
}
