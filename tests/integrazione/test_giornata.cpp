// SPDX-License-Identifier: GPL-3.0-or-later
// A technician's day on the real window and simulated transmitters:
// parameter files, the series and the record.

#include "a_parti.h"
#include "banco.h"
#include "esegui.h"
#include "simulatore.h"

#include <QCheckBox>
#include <QMimeData>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace brenk;

namespace {

const QString sito = QStringLiteral(BRENK_FILE_SITO);

struct Giornata {
    QTemporaryDir cartella;
    Banco banco;
    std::vector<std::unique_ptr<Simulatore>> unita;

    QString file(const char* nome) const { return cartella.filePath(QLatin1String(nome)); }
    // Another transmitter on "Com 1".
    Simulatore& collega(Contenuto contenuto, std::optional<int> indirizzo_guasto = {})
    {
        Simulatore::Opzioni o;
        o.memoria = memoria_predefinita(contenuto);
        o.indirizzo_guasto = indirizzo_guasto;
        unita.push_back(std::make_unique<Simulatore>(o));
        unita.back()->avvia();
        qputenv("BRENK_COM1", unita.back()->dispositivo().toLocal8Bit());
        return *unita.back();
    }
    bool premi(const char* nome)
    {
        auto* p = banco.trova<QAbstractButton>(nome);
        return prova::attendi([p] { return p->isEnabled(); }, 2000) && (p->click(), true)
            && prova::attendi([this] { return !banco.finestra->occupato(); });
    }
    QString codice() const { return banco.casella("CodiceBrenk")->text(); }
    // As "Apri…" would, or dropped on the window if it takes it.
    void apri(const QString& percorso, bool trascinato)
    {
        if (!trascinato)
            return banco.finestra->apri_file(percorso);
        QMimeData dati;
        dati.setUrls({QUrl::fromLocalFile(percorso)});
        QDragEnterEvent entra(QPoint(300, 300), Qt::CopyAction, &dati, Qt::LeftButton, {});
        QDropEvent lascia(QPointF(300, 300), Qt::CopyAction, &dati, Qt::LeftButton, {});
        prova::attendi([this] { return banco.trova<QAbstractButton>("Cmd_apri")->isEnabled(); });
        if (QApplication::sendEvent(banco.finestra.get(), &entra) && entra.isAccepted())
            QApplication::sendEvent(banco.finestra.get(), &lascia);
    }
};

} // namespace

class TestGiornata : public QObject {
    Q_OBJECT

private slots:
    void init() { BRENK_SOLO_LA_MIA_PARTE(); }
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Saved, then opened over another transmitter's factory values: the same
    // bytes go on the line.
    void salva_e_apri_data()
    {
        QTest::addColumn<Contenuto>("contenuto");
        QTest::addColumn<bool>("trascinato");
        QTest::newRow("UHF") << Contenuto::UHF << false;
        QTest::newRow("VHF, trascinato") << Contenuto::VHF << true;
        QTest::newRow("vecchio") << Contenuto::Vecchio << false;
    }
    void salva_e_apri()
    {
        QFETCH(Contenuto, contenuto);
        QFETCH(bool, trascinato);
        Giornata g;
        Simulatore& sim = g.collega(contenuto);
        QVERIFY(g.banco.apri() && g.premi("Cmd_connetti"));
        QTest::keyClicks(g.banco.casella("CodiceBrenk"), "7");
        QTest::mouseClick(g.banco.opzione("Opt_toni_bassi"), Qt::LeftButton);
        g.banco.finestra->salva_file(g.file("sito.brenk"));
        const qsizetype inizio = sim.ricevuti().size();
        QVERIFY(g.premi("cmd_programma"));
        const QByteArray salvati = sim.ricevuti().mid(inizio);

        QVERIFY(g.premi("Cmd_disconetti"));
        sim.imposta_memoria(memoria_predefinita(contenuto));
        QVERIFY(g.premi("Cmd_connetti"));
        g.apri(g.file("sito.brenk"), trascinato);
        const qsizetype di_nuovo = sim.ricevuti().size();
        QVERIFY(g.premi("cmd_programma"));
        QCOMPARE(sim.ricevuti().mid(di_nuovo), salvati);
        QCOMPARE(g.codice(), QStringLiteral("17"));
        QCOMPARE(g.banco.avvisi.testi(), QStringList());
    }

    void file_non_nostri_data()
    {
        QTest::addColumn<QByteArray>("contenuto");
        QTest::addColumn<QString>("problema");
        QFile f(sito);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray buono = f.readAll();
        const QString non_nostro = QStringLiteral("non è un file di parametri del configuratore");
        QTest::newRow("binario") << QByteArray("\x89PNG\r\n\x1a\n\0\0", 10) << non_nostro;
        QTest::newRow("troncato") << buono.left(buono.size() / 2) << non_nostro;
        QTest::newRow("altro JSON") << QByteArray(R"({"name": "sito", "version": 1})") << non_nostro;
        QTest::newRow("formato nuovo")
            << QByteArray(buono).replace("\"versione\": 1", "\"versione\": 2")
            << "il formato 2 è più recente di questo programma, che legge fino al formato 1";
        QTest::newRow("fuori range") << QByteArray(buono).replace("\"417\"", "\"1024\"")
                                     << "valore fuori range in \"Codice Brenk\": \"1024\"";
        QTest::newRow("100 MB") << QByteArray() << "è troppo grande per essere un file di parametri";
    }
    void file_non_nostri()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(QString, problema);
        Giornata g;
        QFile f(g.file("sito.brenk"));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(contenuto) == contenuto.size());
        QVERIFY(!contenuto.isEmpty() || f.resize(100 << 20));
        f.close();
        QVERIFY(g.banco.apri());
        QTest::keyClicks(g.banco.casella("CodiceBrenk"), "12");
        g.banco.finestra->apri_file(f.fileName());
        QCOMPARE(g.banco.avvisi.testi(), QStringList{QStringLiteral("Impossibile aprire il file \"%1\": %2.")
                                                          .arg(f.fileName(), problema)});
        QCOMPARE(g.codice(), QStringLiteral("12"));
        QVERIFY(!g.banco.opzione("Opt_bat_si")->isChecked());
    }

    // The site's file, then unit after unit: codes 1021, 1022 (a faulty unit
    // keeps it), 1022, 1023, and the series stops; a recorded code is refused.
    void serie_con_registro()
    {
        Giornata g;
        QVERIFY(g.banco.apri());
        g.banco.finestra->apri_file(sito);
        g.banco.casella("CodiceBrenk")->setText(QStringLiteral("1021"));
        QVERIFY(g.premi("Chk_serie"));
        g.banco.finestra->usa_registro(g.file("registro.csv"));
        for (auto [guasto, atteso] : {std::pair{std::optional<int>(), "1022"}, {0, "1022"}, {{}, "1023"}}) {
            Simulatore& sim = g.collega(Contenuto::UHF, guasto);
            QVERIFY(g.premi("Cmd_connetti") && g.premi("cmd_programma") && g.premi("Cmd_disconetti"));
            QCOMPARE(g.codice(), QString::fromLatin1(atteso));
            QCOMPARE(sim.memoria()[tempopre_rap], guasto ? 46 : 45);
        }
        QVERIFY(g.premi("Cmd_connetti") && g.premi("cmd_programma") && g.premi("Cmd_disconetti"));
        QVERIFY(!g.banco.trova<QCheckBox>("Chk_serie")->isChecked());
        QVERIFY(g.premi("Chk_serie") && g.premi("Cmd_connetti"));
        g.banco.casella("CodiceBrenk")->setText(QStringLiteral("1022"));
        QVERIFY(g.premi("cmd_programma"));
        QCOMPARE(g.banco.avvisi.testi(),
                 (QStringList{"Verifica fallita: \"Timer per rapina\" (indirizzo 0) scritto 45, letto 46. I valori da "
                              "programmare sono ancora nella finestra: ripetere la programmazione.",
                              "Serie terminata: 1023 è l'ultimo Codice Brenk.",
                              "Programmazione non eseguita: il Codice Brenk 1022 è già nel registro per un "
                              "trasmettitore verificato."}));
        QFile registro(g.file("registro.csv"));
        QVERIFY(registro.open(QIODevice::ReadOnly));
        const QList<QByteArray> righe = registro.readAll().split('\n');
        QCOMPARE(righe.size(), 6);
        QCOMPARE(righe[0], "Data e ora,Porta,Dispositivo,Tipo,Esito,Codice Brenk,Freq Tx Mhz,Timer per rapina,"
                           "Timer Antiatterramento,N° Ing di All,Su Ing N°,N° di Tx Tot,Cod Rep,Filtro P. All,Banda,"
                           "Toni H/L,Ripristino Ing di Allarme,TX Sing/Mult,Zelm/Brenk\r");
        const QByteArray dopo_porta = ",New,Verificato,1021,433.925,45,90,3,2,6,0,1,  UHF,alti,si,multipla,zelm\r";
        // Local date and time with the offset, "Com 1" and its device.
        const QRegularExpression data_e_porta(
            QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d(Z|[+-]\d\d:\d\d),Com 1,/dev/)"));
        QVERIFY(data_e_porta.match(QString::fromUtf8(righe[1])).hasMatch());
        QVERIFY(righe[1].endsWith(dopo_porta));
        QVERIFY(righe[2].contains(",New,\"Verifica fallita: \"\"Timer per rapina\"\" (indirizzo 0) scritto 45, "));
        QVERIFY(righe[3].endsWith(QByteArray(dopo_porta).replace("1021", "1022")));
        QVERIFY(righe[4].endsWith(QByteArray(dopo_porta).replace("1021", "1023")));
    }
};

QTEST_MAIN(TestGiornata)
#include "test_giornata.moc"
