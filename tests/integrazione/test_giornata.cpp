// SPDX-License-Identifier: GPL-3.0-or-later
// A technician's day on the real window, with simulated transmitters on a
// virtual line: parameter files, on any disk, and one series with its record.

#include "impianto.h"
#include "archivio/registro.h"
#include "archivio/registro_codici.h"

#include <QCheckBox>
#include <QLabel>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>

#include <sys/stat.h>

using namespace brenk;

namespace {

const QString sito = QStringLiteral(BRENK_FILE_SITO);

QByteArray contenuto(const QString& percorso)
{
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(nessun file)");
}

// The site's file with some of its texts changed.
QByteArray sito_con(std::initializer_list<std::pair<const char*, const char*>> cambi)
{
    QByteArray testo = contenuto(sito);
    for (const auto& [prima, dopo] : cambi)
        testo.replace(prima, dopo);
    return testo;
}

bool scrivi(const QString& percorso, const QByteArray& testo)
{
    QFile f(percorso);
    return f.open(QIODevice::WriteOnly) && f.write(testo) == testo.size();
}

// Dragged onto the window and dropped if the window takes it; whether it did.
bool trascina(QWidget* finestra, const QString& percorso)
{
    QMimeData dati;
    dati.setUrls({QUrl::fromLocalFile(percorso)});
    QDragEnterEvent entra(QPoint(300, 300), Qt::CopyAction, &dati, Qt::LeftButton, {});
    QDropEvent lascia(QPointF(300, 300), Qt::CopyAction, &dati, Qt::LeftButton, {});
    if (!QApplication::sendEvent(finestra, &entra) || !entra.isAccepted())
        return false;
    QApplication::sendEvent(finestra, &lascia);
    return true;
}

} // namespace

// What lies at the path opened, and how it is opened.
enum class Cosa { File, Fifo, Cartella, Dispositivo, Grande };
enum class Modo { Apri, Trascina, TrascinaInAttesa, AllAvvio, SuLetturaVhf };
Q_DECLARE_METATYPE(Cosa)
Q_DECLARE_METATYPE(Modo)

class TestGiornata : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Saved, then opened on another configurator over another transmitter's
    // factory values: the same bytes go on the line.
    void salva_e_apri_data()
    {
        QTest::addColumn<Contenuto>("contenuto");
        QTest::addColumn<QByteArray>("banda"); // as the file writes it
        QTest::newRow("UHF") << Contenuto::UHF << QByteArray("\"banda\": \"UHF\"");
        QTest::newRow("VHF") << Contenuto::VHF << QByteArray("\"banda\": \"VHF\"");
        QTest::newRow("vecchio") << Contenuto::Vecchio << QByteArray("\"banda\": \"UHF\"");
    }
    void salva_e_apri()
    {
        QFETCH(Contenuto, contenuto);
        QFETCH(QByteArray, banda);
        Impianto g(trasmettitore(contenuto));
        QVERIFY(g.apri_e_connetti());
        QTest::keyClicks(g.banco.casella("CodiceBrenk"), "7");
        QTest::mouseClick(g.banco.opzione("Opt_toni_bassi"), Qt::LeftButton);
        g.banco.finestra->salva_file(g.file("sito.brenk"));
        QCOMPARE(g.banco.trova<QLabel>("lab_file")->accessibleName(), QStringLiteral("File dei parametri: sito.brenk"));
        QVERIFY(::contenuto(g.file("sito.brenk")).contains(banda));
        QVERIFY(g.premi("cmd_programma"));
        const QByteArray salvati = g.dopo_connessione();
        Impianto altro(trasmettitore(contenuto)); // another technician's, whose day has not used 17
        QVERIFY(altro.apri_e_connetti());
        altro.banco.finestra->apri_file(g.file("sito.brenk"));
        QVERIFY(altro.premi("Cmd_disconetti") && altro.connetti()); // the unit's own values
        QCOMPARE(altro.banco.trova<QLabel>("lab_file")->text(), QStringLiteral("sito.brenk (valori cambiati)"));
        altro.banco.finestra->apri_file(g.file("sito.brenk"));
        QVERIFY(altro.premi("cmd_programma"));
        QCOMPARE(altro.dopo_connessione(), salvati);
        QCOMPARE(altro.testo("CodiceBrenk"), QStringLiteral("17"));
        QCOMPARE(altro.banco.avvisi.testi(), QStringList());
    }

    // The window takes a file it could hold, as if typed; anything else is
    // named in one message and leaves the window as it was ("12" typed).
    void apertura_data()
    {
        QTest::addColumn<QByteArray>("testo");
        QTest::addColumn<Cosa>("cosa");
        QTest::addColumn<Modo>("modo");
        QTest::addColumn<QString>("problema"); // none: opened
        QTest::addColumn<QString>("codice");   // shown then
        const QString non_nostro = QStringLiteral("non è un file di parametri del configuratore");
        const QString non_ordinario = QStringLiteral("non è un file ordinario");
        const QByteArray buono = contenuto(sito);
        const auto riga = [](const char* nome, const QByteArray& testo, const QString& problema,
                             const char* codice = "12", Cosa cosa = Cosa::File, Modo modo = Modo::Apri) {
            QTest::newRow(nome) << testo << cosa << modo << problema << QString::fromLatin1(codice);
        };
        riga("binario", QByteArray("\x89PNG\r\n\x1a\n\0\0", 10), non_nostro);
        riga("troncato", buono.left(buono.size() / 2), non_nostro);
        riga("altro JSON", R"({"name": "sito", "version": 1})", non_nostro);
        riga("formato nuovo", sito_con({{"\"versione\": 1", "\"versione\": 2"}}),
             "il formato 2 è più recente di questo programma, che legge fino al formato 1");
        riga("formato 0", sito_con({{"\"versione\": 1", "\"versione\": 0"}}), non_nostro);
        riga("lettura non esadecimale", sito_con({{"1e3c06", "1e3g06"}}), "la lettura registrata non è valida");
        riga("codice 1024", sito_con({{"\"417\"", "\"1024\""}}), "valore fuori range in \"Codice Brenk\": \"1024\"");
        riga("filtro 200", sito_con({{"\"filtro_pulsante\": \"1\"", "\"filtro_pulsante\": \"200\""}}),
             "valore fuori range in \"Filtro P. All\": \"200\"");
        riga("filtro 03", sito_con({{"\"filtro_pulsante\": \"1\"", "\"filtro_pulsante\": \"03\""}}),
             "valore fuori range in \"Filtro P. All\": \"03\"");
        riga("trasmissioni 0", sito_con({{"\"trasmissioni_totali\": \"6\"", "\"trasmissioni_totali\": \"0\""}}),
             "valore fuori range in \"N° di Tx Tot\": \"0\"");
        riga("i massimi",
             sito_con({{"\"417\"", "\"1023\""},
                       {"\"45\"", "\"255\""},
                       {"allarme\": \"3", "allarme\": \"8"},
                       {"ripetitore\": \"0", "ripetitore\": \"63"},
                       {"pulsante\": \"1", "pulsante\": \"5"},
                       {"totali\": \"6", "totali\": \"10"}}),
             {}, "1023");
        riga("codice e timer 0, frequenza fuori banda",
             sito_con({{"\"417\"", "\"0\""}, {"\"45\"", "\"0\""}, {"433.925", "999.5"}}), {}, "0");
        riga("numeri JSON", sito_con({{"\"417\"", "500"}, {"\"433.925\"", "433.925"}}), {}, "500");
        riga("banda scritta come nel campo", sito_con({{"\"UHF\"", "\"  UHF\""}}), {}, "417");
        riga("oltre 1 MiB", buono, "è troppo grande per essere un file di parametri", "12", Cosa::Grande);
        riga("FIFO", {}, non_ordinario, "12", Cosa::Fifo);
        riga("cartella", {}, non_ordinario, "12", Cosa::Cartella);
        riga("porta seriale muta", {}, non_ordinario, "12", Cosa::Dispositivo);
        riga("trascinato", buono, {}, "417", Cosa::File, Modo::Trascina);
        riga("trascinato durante un'operazione", buono, {}, "12", Cosa::File, Modo::TrascinaInAttesa);
        riga("dalla riga di comando", buono, {}, "417", Cosa::File, Modo::AllAvvio);
        riga("dopo una lettura, la banda resta", buono, {}, "417", Cosa::File, Modo::SuLetturaVhf);
    }
    void apertura()
    {
        QFETCH(QByteArray, testo);
        QFETCH(Cosa, cosa);
        QFETCH(Modo, modo);
        QFETCH(QString, problema);
        QFETCH(QString, codice);
        Impianto g(trasmettitore(modo == Modo::SuLetturaVhf ? Contenuto::VHF : Contenuto::UHF, {},
                                 modo == Modo::TrascinaInAttesa));
        PseudoTerminale muto;
        QString percorso = g.file("sito.brenk");
        if (cosa == Cosa::Fifo)
            QCOMPARE(::mkfifo(QFile::encodeName(percorso).constData(), 0600), 0);
        else if (cosa == Cosa::Cartella)
            QVERIFY(QDir().mkdir(percorso));
        else if (cosa == Cosa::Dispositivo)
            percorso = muto.dispositivo();
        else
            QVERIFY(scrivi(percorso, testo) && (cosa == Cosa::File || QFile::resize(percorso, (1 << 20) + 1)));
        QVERIFY(modo == Modo::AllAvvio ? g.banco.apri(nullptr, percorso) : g.banco.apri());
        if (modo == Modo::SuLetturaVhf)
            QVERIFY(g.premi("Cmd_connetti"));
        else if (modo != Modo::AllAvvio)
            QTest::keyClicks(g.banco.casella("CodiceBrenk"), "12");
        if (modo == Modo::TrascinaInAttesa) {
            g.banco.trova<QAbstractButton>("Cmd_connetti")->click();
            QCOMPARE(g.banco.stato(), QStringLiteral(" In Attesa "));
        }
        if (modo == Modo::Apri || modo == Modo::SuLetturaVhf)
            g.banco.finestra->apri_file(percorso);
        else if (modo != Modo::AllAvvio)
            QCOMPARE(trascina(g.banco.finestra.get(), percorso), modo == Modo::Trascina);
        const QStringList attesi{QStringLiteral("Impossibile aprire il file \"%1\": %2.").arg(percorso, problema)};
        QCOMPARE(g.banco.avvisi.testi(), problema.isEmpty() ? QStringList() : attesi);
        QCOMPARE(g.testo("CodiceBrenk"), codice);
        QCOMPARE(g.banco.trova<QLabel>("lab_file")->text(), codice == "12" ? "" : "sito.brenk");
        QCOMPARE(g.testo("Text1"), modo == Modo::SuLetturaVhf ? "  VHF" : codice == "12" ? "" : "  UHF");
        if (modo == Modo::TrascinaInAttesa)
            QVERIFY(g.premi("Cmd_disconetti"));
    }

    // On a full disk nothing is lost: a file there before stays byte for
    // byte, no new or temporary file is left, and a record line is whole or
    // not there at all.
    void disco_pieno_data()
    {
        QTest::addColumn<bool>("esistente");
        QTest::addColumn<bool>("registro");
        QTest::newRow("salvato sopra un file") << true << false;
        QTest::newRow("salvato in un file nuovo") << false << false;
        QTest::newRow("registro con spazio per mezza riga") << true << true;
    }
    void disco_pieno()
    {
        QFETCH(bool, esistente);
        QFETCH(bool, registro);
        // A disk of 16 KiB (a tmpfs) there while the test lasts; mounting it needs root.
        QTemporaryDir cartella;
        const QStringList tmpfs{"-t", "tmpfs", "-o", "size=16k", "tmpfs", cartella.path()};
        if (QProcess::execute(QStringLiteral("mount"), tmpfs) != 0)
            QSKIP("un disco tmpfs si monta solo da root: la prova del disco pieno non si fa qui");
        const auto smonta = qScopeGuard([&] { QProcess::execute(QStringLiteral("umount"), {cartella.path()}); });
        const QString percorso = cartella.filePath(registro ? QStringLiteral("registro.csv")
                                                            : QStringLiteral("sito.brenk"));
        // The record's page has 20 bytes left, less than a line.
        const QByteArray prima = registro
                                     ? intestazione_registro()
                                           + QByteArray(4096 - 20 - intestazione_registro().size() - 2, 'x') + "\r\n"
                                     : contenuto(sito);
        QVERIFY(!esistente || scrivi(percorso, prima));
        QFile pieno(cartella.filePath(QStringLiteral("pieno"))); // every whole page still free
        QVERIFY(pieno.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (pieno.write(QByteArray(4096, 'x')) > 0) {
        }
        const QStringList file = QDir(cartella.path()).entryList(QDir::Files);
        Banco banco;
        QVERIFY(banco.apri());
        std::optional<QString> detto;
        if (registro)
            detto = annota(percorso,
                           {QDateTime::currentDateTime(), "Com 1", "/dev/ttyUSB0", "New", "Verificato", true, {}});
        else
            banco.finestra->salva_file(percorso);
        const QString messaggio =
            registro
                ? QStringLiteral("Registro \"%1\": riga non scritta (il disco è pieno); l'esito dell'operazione resta "
                                 "quello mostrato.")
                : QStringLiteral("Impossibile salvare il file \"%1\": il disco è pieno.");
        QCOMPARE(registro ? QStringList{detto.value_or(QString())} : banco.avvisi.testi(),
                 QStringList{messaggio.arg(percorso)});
        QCOMPARE(contenuto(percorso), esistente ? prima : QByteArray("(nessun file)"));
        QCOMPARE(QDir(cartella.path()).entryList(QDir::Files), file);
    }

    // A record on a read-only disk is refused when it is chosen, not after a unit.
    void registro_in_sola_lettura()
    {
        QTemporaryDir cartella;
        if (QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "tmpfs", cartella.path()}) != 0)
            QSKIP("un disco tmpfs si monta solo da root: la prova del disco in sola lettura non si fa qui");
        const auto smonta = qScopeGuard([&] { QProcess::execute(QStringLiteral("umount"), {cartella.path()}); });
        const QString registro = cartella.filePath(QStringLiteral("registro.sqlite"));
        QString problema;
        QVERIFY(RegistroCodici::apri(registro, QStringLiteral("sito"), problema));
        QCOMPARE(QProcess::execute(QStringLiteral("mount"), {"-o", "remount,ro", cartella.path()}), 0);
        Impianto g;
        QVERIFY(g.banco.apri());
        g.banco.finestra->usa_registro(registro);
        QVERIFY(!g.banco.trova<QCheckBox>("Chk_registro")->isChecked());
        QCOMPARE(g.banco.avvisi.testi(),
                 QStringList{
                     QStringLiteral("Registro \"%1\": il file o la sua cartella è in sola lettura.").arg(registro)});
    }

    // An unexpected error in a step of the day is told, never lost.
    void errore_in_un_passo()
    {
        struct AvvisiGuasti : AvvisiRegistrati {
            Task<void> messaggio(const QString& testo, Icona icona) override
            {
                if (testo.startsWith(u"Registro"))
                    throw std::runtime_error("guasto");
                return AvvisiRegistrati::messaggio(testo, icona);
            }
        } avvisi;
        Impianto g;
        QVERIFY(g.banco.apri(&avvisi) && scrivi(g.file("altro.csv"), "non un registro\r\n"));
        QTest::ignoreMessage(QtCriticalMsg,
                             "brenk-zelm: operazione \"Messaggi\" interrotta da un errore imprevisto: guasto");
        g.banco.finestra->usa_registro(g.file("altro.csv"));
        QVERIFY(!g.banco.trova<QCheckBox>("Chk_registro")->isChecked()); // not a record: not taken
        QCOMPARE(avvisi.testi(),
                 QStringList{"Operazione \"Messaggi\" interrotta da un errore imprevisto. Riprovare; se "
                             "l'errore si ripete, riavviare il programma."});
    }

    // The site's file, then unit after unit from code 1021: a verified unit
    // left by "TX", one whose verification fails (it holds its code all the
    // same), the last code, the end of the series; then the record refuses a
    // code it holds for another unit.
    void serie_con_registro()
    {
        Impianto g;
        QVERIFY(g.banco.apri());
        g.banco.finestra->apri_file(sito);
        g.banco.casella("CodiceBrenk")->setText(QStringLiteral("1021"));
        QVERIFY(g.premi("Chk_serie"));
        g.banco.finestra->usa_registro(g.file("registro.sqlite"));
        QCOMPARE(g.banco.trova<QLabel>("lab_registro")->accessibleName(), QStringLiteral("Registro: registro.sqlite"));
        g.collega(Contenuto::VHF); // only read: the site's values, with the band it has
        QVERIFY(g.premi("Cmd_connetti"));
        QCOMPARE(g.testo("Text1"), QStringLiteral("  VHF"));
        QVERIFY(g.premi("Cmd_disconetti"));
        for (auto [guasto, lascia, atteso] : {std::tuple{std::optional<int>(), "Cmd_tx", "1022"},
                                              {0, "Cmd_disconetti", "1023"},
                                              {{}, "Cmd_disconetti", ""}}) {
            g.collega(Contenuto::UHF, guasto);
            QVERIFY(g.premi("Cmd_connetti") && g.premi("cmd_programma") && g.premi(lascia));
            QCOMPARE(g.testo("CodiceBrenk"), QString::fromLatin1(atteso));
            QCOMPARE(g.tx().memoria()[tempopre_rap], guasto ? 46 : 45);
            QCOMPARE(g.banco.casella("txb_amp")->text(), QStringLiteral("90"));
        }
        QVERIFY(!g.banco.trova<QCheckBox>("Chk_serie")->isChecked());
        g.collega(Contenuto::UHF);
        QVERIFY(g.connetti());
        g.banco.casella("CodiceBrenk")->setText(QStringLiteral("1022"));
        QVERIFY(g.premi("cmd_programma"));
        QCOMPARE(g.dopo_connessione(), QByteArray()); // refused: nothing written
        QStringList detti = g.banco.avvisi.testi();
        detti.last() = detti.last().section(QStringLiteral(" dal "), 0, 0); // who holds it and since when follow
        QCOMPARE(detti,
                 (QStringList{"Verifica fallita: \"Timer per rapina\" (indirizzo 0) scritto 45, letto 46. I valori "
                              "da programmare sono ancora nella finestra: ripetere la programmazione.",
                              "Serie terminata: nessun Codice Brenk libero dopo 1023.",
                              "Programmazione non eseguita: il Codice Brenk 1022 del sito \"uhf\" è già in uso "
                              "(scritto)"}));
        QVERIFY(!g.banco.finestra->sessione().giornata().esporta_csv(g.file("registro.csv")));
        const QList<QByteArray> righe = contenuto(g.file("registro.csv")).split('\n');
        QCOMPARE(righe.size(), 5);
        QCOMPARE(righe[0], "Data e ora,Porta,Dispositivo,Tipo,Esito,Codice scritto,Codice Brenk,Freq Tx Mhz,"
                           "Timer per rapina,Timer Antiatterramento,N° Ing di All,Su Ing N°,N° di Tx Tot,Cod Rep,"
                           "Filtro P. All,Banda,Toni H/L,Ripristino Ing di Allarme,TX Sing/Mult,Zelm/Brenk\r");
        const QByteArray dopo_porta = ",New,Verificato,si,1021,433.925,45,90,3,2,6,0,1,  UHF,alti,si,multipla,zelm\r";
        // Local date and time with the offset, "Com 1" and its device.
        const QRegularExpression data_e_porta(
            QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d(Z|[+-]\d\d:\d\d),Com 1,virtuale,New,)"));
        QVERIFY(data_e_porta.match(QString::fromUtf8(righe[1])).hasMatch());
        QVERIFY(righe[1].endsWith(dopo_porta));
        QVERIFY(righe[2].contains(",New,\"Verifica fallita: \"\"Timer per rapina\"\" (indirizzo 0) scritto 45, "));
        QVERIFY(righe[2].contains(",si,1022,"));
        QVERIFY(righe[3].endsWith(QByteArray(dopo_porta).replace("1021", "1023")));
        // A record spoilt since: the loading's line cannot go there, the operator hears why and that it waits.
        QVERIFY(scrivi(g.file("registro.sqlite"), "non un registro\r\n") && g.premi("Cmd_init_uhf"));
        QCOMPARE(g.banco.avvisi.testi().last(), QStringLiteral("Registro \"%1\": file is not a database Unable to "
                                                               "fetch row. La riga resta in memoria e "
                                                               "sarà scritta appena il registro risponde.")
                                                    .arg(g.file("registro.sqlite")));
    }
};

QTEST_MAIN(TestGiornata)
#include "test_giornata.moc"
