// SPDX-License-Identifier: GPL-3.0-or-later
// The day's rules without a window or a line: sequences of what a technician
// does, and which code each programming hands to its unit, what the window
// shows and what the record keeps; and the record's cells as a spreadsheet
// reads them.

#include "archivio/giornata.h"

#include <QFile>
#include <QMap>
#include <QTimeZone>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace brenk;

namespace {

const Unita unita{QStringLiteral("Com 1"), QStringLiteral("/dev/ttyUSB0"), QStringLiteral("New")};

// Each line of the record, as its CSV gives it: its outcome, whether the
// code reached the unit, and the code.
QStringList righe(Giornata& g, const QString& csv)
{
    QFile f(csv);
    QStringList r;
    if (g.esporta_csv(csv) || !f.open(QIODevice::ReadOnly))
        return {QStringLiteral("nessun CSV")};
    for (const QByteArray& riga : f.readAll().split('\n').mid(1))
        if (const QStringList celle = QString::fromUtf8(riga).split(u','); celle.size() > 6)
            r << celle.mid(4, 3).join(u' ');
    return r;
}

// A line of an earlier day, from another configurator: "6" or "6 no", the
// code and whether a byte of it went out.
void riga_di_ieri(const QString& registro, const QString& riga, QStringList& visto)
{
    QString problema;
    const auto altro = RegistroCodici::apri(registro, QStringLiteral("sito"), problema);
    Valori v;
    v.testo(Campo::CodiceBrenk) = riga.section(u' ', 0, 0);
    auto p = altro ? altro->riserva(v.testo(Campo::CodiceBrenk).toInt(), {}, v, {}) : problema;
    if (const auto* rifiuto = std::get_if<QString>(&p))
        visto << *rifiuto;
    else if (const auto errore = altro->concludi(std::get<Prenotazione>(p), {}, riga.section(u' ', 1) != u"no"))
        visto << *errore;
}

// Runs a technician's steps against the day's rules, with the window kept as
// the window keeps it: code 5 and timer 45 at first, a read shows the unit's
// own code 1 and timer 30, a disconnect empties the fields. A programming
// sends what the window shows when it starts. What the operator reads comes
// back, the record named by its file's name; a step not known, too.
QStringList giornata(QString passi)
{
    QTemporaryDir cartella;
    const QString registro = cartella.filePath(QStringLiteral("registro.sqlite"));
    Giornata g;
    Valori f;
    f.testo(Campo::CodiceBrenk) = QStringLiteral("5");
    f.testo(Campo::txb_tmp_rap) = QStringLiteral("45");
    QStringList visto;
    // The record names who holds a code and since when: neither is the rules'.
    const auto leggi = [&](QString t) {
        visto << t.remove(cartella.path() + u'/').section(QStringLiteral(" dal "), 0, 0);
    };
    const auto dici = [&](const std::optional<QString>& p) {
        if (p)
            leggi(*p);
    };
    const auto mostra = [&](const Risposta& r) {
        f = r.valori.value_or(f);
        f.testo(Campo::CodiceBrenk) = r.codice.value_or(f.testo(Campo::CodiceBrenk));
        std::for_each(r.messaggi.begin(), r.messaggi.end(), leggi);
    };
    int scritte = 0;
    const auto scrivi = [&](int quante, bool conferma) {
        for (const int fine = scritte + quante; scritte < fine; ++scritte) {
            g.inviata(scritte);
            if (conferma)
                g.confermata(scritte);
        }
    };
    const QMap<QString, std::function<void(const QString&)>> azioni{
        {"serie", [&](const QString& q) { mostra(g.imposta_serie(q != u"no")); }},
        {"registro", [&](const QString&) { mostra(g.imposta_registro(registro, QStringLiteral("sito"))); }},
        {"riga", [&](const QString& q) { riga_di_ieri(registro, q, visto); }},
        {"codice", [&](const QString& q) { f.testo(Campo::CodiceBrenk) = q; }},
        {"vuota", [&](const QString&) { f = {}; }},
        {"connetti",
         [&](const QString& q) {
        mostra(g.collegamento(f));
        f.testo(Campo::CodiceBrenk) = q.isEmpty() ? QStringLiteral("1") : q;
        f.testo(Campo::txb_tmp_rap) = QStringLiteral("30");
        mostra(g.letto(true, f));
         }},
        {"disconetti", [&](const QString&) { mostra(g.lasciato(std::exchange(f, {}))); }},
        {"inizia",
         [&](const QString&) {
        scritte = 0;
        const int codice = f.testo(Campo::CodiceBrenk).toInt();
        leggi(g.programmazione(codice, f, unita).value_or(QString::number(codice)));
         }},
        {"inizializza",
         [&](const QString&) {
        scritte = 0;
        g.fabbrica(unita, f);
         }},
        {"scrive", [&](const QString& q) { scrivi(q.toInt(), true); }},
        {"manca", [&](const QString&) { scrivi(1, false); }}, {"verificata", [&](const QString&) { g.verificata(); }},
        {"detto", [&](const QString& q) { g.detto(q); }}, {"fine", [&](const QString&) { dici(g.conclusa()); }},
        {"uscita", [&](const QString& q) { dici(g.interrotta(q == u"k")); }},
        {"finestra",
         [&](const QString&) { visto << f.testo(Campo::CodiceBrenk) + u'/' + f.testo(Campo::txb_tmp_rap); }},
        {"righe", [&](const QString&) { visto << righe(g, cartella.filePath(QStringLiteral("registro.csv"))); }},
        };
    passi.replace(QStringLiteral("programma"), QStringLiteral("inizia, scrive 62, verificata, fine"));
    passi.replace(QStringLiteral("fabbrica"), QStringLiteral("inizializza, scrive 64, verificata, fine"));
    for (const QString& passo : passi.split(QStringLiteral(", "))) {
        const auto azione = azioni.find(passo.section(u' ', 0, 0));
        if (azione == azioni.end())
            visto << QStringLiteral("passo sconosciuto: ") + passo;
        else
            (*azione)(passo.section(u' ', 1));
    }
    return visto;
}

} // namespace

class TestGiornataRegole : public QObject {
    Q_OBJECT

private slots:
    // Each row: what the technician does, then what is seen: the code each
    // programming starts with (or its refusal), every message, and what
    // "finestra" and "righe" look at. The window starts with code 5; a read
    // shows the unit's own code 1 ("connetti 5": a unit that holds 5).
    void regole_data()
    {
        QTest::addColumn<QString>("passi");
        QTest::addColumn<QStringList>("visto");
        const QString gia = QStringLiteral("Programmazione non eseguita: il Codice Brenk %1 del sito \"sito\" è già in "
                                           "uso (scritto)");
        const auto riga = [](const char* nome, const char* passi, const QStringList& visto) {
            QTest::newRow(nome) << QString::fromUtf8(passi) << visto;
        };
        riga("serie: il codice passa al seguente",
             "serie, connetti, programma, disconetti, connetti, programma, disconetti, finestra", {"5", "6", "7/45"});
        riga("serie scelta dopo la programmazione",
             "connetti, codice 5, programma, serie, disconetti, connetti, programma", {"5", "6"});
        riga("lasciato durante la rilettura",
             "serie, connetti, inizia, scrive 62, disconetti, fine, connetti, programma", {"5", "6"});
        riga("verifica fallita dopo ogni scrittura",
             "serie, connetti, inizia, scrive 62, fine, disconetti, connetti, programma", {"5", "6"});
        riga("tempo scaduto prima del codice: lo tiene",
             "serie, connetti, inizia, scrive 10, manca, fine, disconetti, connetti, programma", {"5", "5"});
        riga("byte alto del codice senza conferma: usato",
             "serie, connetti, inizia, scrive 15, manca, fine, disconetti, connetti, programma", {"5", "6"});
        riga("la riga tiene il codice inviato, non la finestra",
             "registro, serie, connetti, inizia, scrive 62, disconetti, fine, righe", {"5", "Non verificato si 5"});
        riga("porta persa, poi Connetti: un passo solo", "serie, connetti, programma, connetti, disconetti, finestra",
             {"5", "6/45"});
        riga("stessa unità di nuovo, con il registro", "registro, connetti, codice 5, programma, programma",
             {"5", "5"});
        riga("registro: un codice scritto da un altro configuratore", "registro, riga 5, connetti, codice 5, programma",
             {gia.arg(5)});
        riga("serie salta i codici del registro",
             "registro, riga 6, riga 7, serie, connetti, codice 5, programma, "
             "disconetti, connetti, programma",
             {"5", "8"});
        riga("riavvio: la serie riprende dal registro", "registro, riga 300, serie, finestra", {"301/45"});
        riga("codice non scritto nel registro: libero", "registro, riga 6 no, connetti, codice 6, programma", {"6"});
        riga("senza registro rifiuta un codice usato oggi",
             "connetti, codice 5, programma, disconetti, connetti, codice 5, programma",
             {"5", "Programmazione non eseguita: il Codice Brenk 5 è già stato scritto oggi in un altro "
                   "trasmettitore."});
        riga("senza registro, lo stesso trasmettitore di nuovo",
             "connetti, codice 5, programma, disconetti, connetti 5, programma", {"5", "5"});
        riga("serie tolta: campi vuoti, nessun codice", "serie, connetti, programma, serie no, disconetti, finestra",
             {"5", "/"});
        riga("dopo 1023 la serie finisce", "serie, codice 1023, connetti, programma, disconetti, finestra",
             {"1023", "Serie terminata: nessun Codice Brenk libero dopo 1023.", "/45"});
        riga("1023 nel registro: la serie finisce a 1022",
             "registro, serie, riga 1023, codice 1022, connetti, programma, disconetti, finestra",
             {"1022", "Serie terminata: nessun Codice Brenk libero dopo 1022.", "/45"});
        riga("serie su finestra vuota: i valori del primo letto",
             "vuota, serie, connetti, finestra, programma, disconetti, connetti, finestra", {"1/30", "1", "2/30"});
        riga("uscita a metà: la riga c'è", "registro, connetti, inizia, scrive 20, manca, uscita, righe",
             {"1", "Interrotta all'uscita dal programma dopo 20 scritture confermate si 1"});
        riga("uscita con il codice in volo", "registro, connetti, inizia, scrive 15, manca, uscita, righe",
             {"1", "Interrotta all'uscita dal programma dopo 15 scritture confermate si 1"});
        riga("uscita con l'ultima conferma arrivata", "registro, connetti, inizia, scrive 9, manca, uscita k, righe",
             {"1", "Interrotta all'uscita dal programma dopo 10 scritture confermate no 1"});
        riga("niente inviato: il codice torna libero",
             "registro, connetti, inizia, fine, righe, disconetti, "
             "connetti, codice 1, programma",
             {"1", "Non verificato no 1", "1"});
        riga("nessuna conferma, la riga c'è", "registro, connetti, inizia, manca, fine, righe",
             {"1", "Non verificato no 1"});
        riga("inizializzazione: riga senza codice", "registro, connetti, fabbrica, righe", {"Verificato no 1"});
    }
    void regole()
    {
        QFETCH(QString, passi);
        QFETCH(QStringList, visto);
        QCOMPARE(giornata(passi), visto);
    }

    // The device as the record's line writes it, between the port's cell and
    // the type's: a spreadsheet shows it as the text it is.
    void cella_data()
    {
        QTest::addColumn<QString>("dispositivo");
        QTest::addColumn<QByteArray>("cella");
        QTest::newRow("semplice") << "/dev/ttyUSB0" << QByteArray("/dev/ttyUSB0");
        QTest::newRow("virgolette") << "/dev/a\"b" << QByteArray("\"/dev/a\"\"b\"");
        QTest::newRow("virgola") << "/dev/a,b" << QByteArray("\"/dev/a,b\"");
        QTest::newRow("a capo") << "/dev/a\r\nb" << QByteArray("/dev/a  b");
        QTest::newRow("formula =") << "=1+1" << QByteArray("'=1+1");
        QTest::newRow("formula +") << "+39 02" << QByteArray("'+39 02");
        QTest::newRow("formula -") << "-1" << QByteArray("'-1");
        QTest::newRow("formula @") << "@SOMMA(A1)" << QByteArray("'@SOMMA(A1)");
        QTest::newRow("formula tab") << "\tSOMMA" << QByteArray("'\tSOMMA");
        QTest::newRow("formula con virgola") << "=SOMMA(1,2)" << QByteArray("\"'=SOMMA(1,2)\"");
    }
    void cella()
    {
        QFETCH(QString, dispositivo);
        QFETCH(QByteArray, cella);
        const QDateTime alle_8(QDate(2026, 12, 9), QTime(8, 0), QTimeZone(3600));
        QCOMPARE(in_csv({alle_8, unita.porta, dispositivo, unita.tipo, QStringLiteral("Verificato"), true, {}}),
                 "2026-12-09T08:00:00+01:00,Com 1," + cella + ",New,Verificato,si,,,,,,,,,,,,,,\r\n");
    }
};

QTEST_GUILESS_MAIN(TestGiornataRegole)
#include "test_giornata_regole.moc"
