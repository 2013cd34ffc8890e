// SPDX-License-Identifier: GPL-3.0-or-later
// The handover sheet of a site with a working unit, a failed one and one whose
// programming was cut off: its PDF as pdftotext reads it, and its CSV.

#include "archivio/registro_codici.h"
#include "ui/foglio_pdf.h"

#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace brenk;

class TestFoglio : public QObject {
    Q_OBJECT

    QTemporaryDir cartella;
    std::unique_ptr<RegistroCodici> registro;

    void apri()
    {
        QString problema;
        registro.reset();
        registro = RegistroCodici::apri(cartella.filePath("Banca.sqlite"), "Banca", problema);
        QVERIFY2(registro, qPrintable(problema));
    }
    Prenotazione riserva(int codice, const QString& a_chi)
    {
        Valori v;
        v.testo(Campo::CodiceBrenk) = QString::number(codice);
        v.testo(Campo::FqTx) = "433.525";
        v.testo(Campo::Text1) = "  UHF";
        return std::get<Prenotazione>(registro->riserva(codice, {"Com 1", "/dev/ttyUSB0", "New", {}}, v, a_chi));
    }
    // Every line at 9:30 on 10 December 2026, local time.
    void alle_nove_e_mezza()
    {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "ore");
            db.setDatabaseName(cartella.filePath("Banca.sqlite"));
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec("UPDATE righe SET quando = '2026-12-10T09:30:00'"));
        }
        QSqlDatabase::removeDatabase("ore");
    }
    QString testo_pdf(const QString& pdf)
    {
        QProcess p;
        p.start("pdftotext", {"-layout", pdf, "-"});
        if (!p.waitForFinished())
            return "pdftotext (poppler-utils) non parte: " + p.errorString();
        return QString::fromUtf8(p.readAllStandardOutput());
    }

private slots:
    void foglio_di_consegna()
    {
        apri();
        QCOMPARE(registro->concludi(riserva(5, {}), "Verificato", true), std::nullopt);
        QCOMPARE(registro->assegna(5, "Rossi – magazzino"), std::nullopt);
        QCOMPARE(registro->concludi(riserva(6, "-1 piano, cassa"), "Nessuna risposta", true), std::nullopt);
        riserva(7, "Verdi – sportello");
        apri(); // the program that reserved 7 was killed
        QVERIFY(registro);
        alle_nove_e_mezza();
        const QString pdf = cartella.filePath("Consegna.pdf");
        QCOMPARE(scrivi_foglio(std::get<Foglio>(registro->foglio()), pdf), std::nullopt);

        QStringList righe;
        for (const QString& r : testo_pdf(pdf).split(u'\n'))
            righe << r.simplified();
        for (const char* riga :
             {"Foglio di consegna", "Sito: Banca",
              "5 Rossi – magazzino New UHF 433.525 Verificato 10/12/2026 09:30 funzionante",
              "6 -1 piano, cassa New UHF 433.525 Nessuna risposta 10/12/2026 09:30 non verificato",
              "7 Verdi – sportello New UHF 433.525 In corso 10/12/2026 09:30 interrotta",
              "Trasmettitori: 3, funzionanti: 1", "Firma del tecnico Firma del responsabile", "Pagina 1 di 1"})
            QVERIFY2(righe.contains(riga), qPrintable(righe.join(u'\n')));
        QVERIFY(righe.contains("Computer del tecnico: " + QSysInfo::machineHostName()));

        QFile csv(cartella.filePath("Consegna.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll(),
                 QByteArray("Codice Brenk,Assegnato a,Tipo,Banda,Freq Tx Mhz,Esito,Data e ora,Stato\r\n"
                            "5,Rossi – magazzino,New,UHF,433.525,Verificato,10/12/2026 09:30,funzionante\r\n"
                            "6,\"'-1 piano, cassa\",New,UHF,433.525,Nessuna risposta,10/12/2026 09:30,"
                            "non verificato\r\n"
                            "7,Verdi – sportello,New,UHF,433.525,In corso,10/12/2026 09:30,interrotta\r\n"));
    }
};

QTEST_MAIN(TestFoglio)
#include "test_foglio.moc"
