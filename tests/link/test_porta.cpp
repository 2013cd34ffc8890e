// SPDX-License-Identifier: GPL-3.0-or-later
// The serial link against a pseudo-terminal whose far end the test drives.
// The port's alarms run on a virtual clock that only the test moves: a wait
// ends by a byte or the line before its time, and by its time exactly.

#include "esegui.h"
#include "linea_virtuale.h"
#include "link/dispositivo_seriale.h"
#include "link/porta_seriale.h"
#include "pseudo_terminale.h"

#include <QTest>
#include <QTimer>

#include <linux/serial.h>
#include <sys/ioctl.h>

using namespace brenk;
using namespace brenk::prova;

class TestPorta : public QObject {
    Q_OBJECT

    std::unique_ptr<PseudoTerminale> linea;
    OrologioVirtuale orologio;
    std::unique_ptr<PortaSeriale> porta;

    // Moves the port's clock on by `ms`, ringing the alarms that fall due.
    void passa(double ms)
    {
        for (const double fine = orologio.adesso_ms() + ms; orologio.avanza(fine);) {
        }
    }

    // The next character the port reads, its buffer emptied first.
    QByteArray carattere()
    {
        porta->svuota_buffer();
        auto lettura = avvia(porta->leggi_carattere());
        attendi([&] { return lettura->esito.finito; }, 5000);
        return lettura->esito.valore.value_or("(nessuno)");
    }

    // The text of the port error `azione` throws, if any.
    static QString errore_di(const std::function<void()>& azione)
    {
        try {
            azione();
        } catch (const ErrorePorta& e) {
            return e.testo();
        }
        return QStringLiteral("(nessun errore)");
    }

private slots:
    void init()
    {
        linea = std::make_unique<PseudoTerminale>();
        QVERIFY(linea->valido());
        qputenv("BRENK_COM1", linea->dispositivo().toLocal8Bit());
        porta = std::make_unique<PortaSeriale>(std::make_unique<DispositivoSeriale>(), orologio);
        porta->apri_porta();
        QVERIFY(porta->aperta());
        QCOMPARE(porta->dispositivo(), linea->dispositivo());
    }

    void cleanup()
    {
        porta.reset();
        linea.reset();
        qunsetenv("BRENK_COM1");
    }

    // What the transmitter needs of the line, read back from the terminal
    // itself: 2400 baud, 8 data bits, no parity, one stop bit, no flow
    // control, raw bytes; DTR up and RTS down.
    void impostazioni_di_linea()
    {
        const termios t = linea->impostazioni();
        QCOMPARE(cfgetospeed(&t), speed_t(B2400));
        QCOMPARE(cfgetispeed(&t), speed_t(B2400));
        QCOMPARE(t.c_cflag & CSIZE, tcflag_t(CS8));
        QCOMPARE(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));
        QVERIFY(t.c_cflag & CREAD);
        QCOMPARE(t.c_iflag & (IXON | IXOFF | IXANY | ISTRIP | ICRNL | INLCR | IGNCR), tcflag_t(0));
        QCOMPARE(t.c_lflag & (ICANON | ECHO | ISIG), tcflag_t(0));
        QCOMPARE(t.c_oflag & OPOST, tcflag_t(0));
        QCOMPARE(porta->linee(), (LineeModem{.dtr = true, .rts = false}));
    }

    // The driver's low-latency flag is turned on at opening and given back
    // at closing, its other flags kept; one already on is left alone. A
    // pseudo-terminal has none (-1): the device opens all the same, with no
    // error, and carries bytes both ways.
    void bassa_latenza_chiesta_al_meglio_data()
    {
        QTest::addColumn<int>("prima");
        QTest::addColumn<int>("aperta");
        QTest::newRow("pseudo-terminale") << -1 << -1;
        QTest::newRow("spenta") << int(ASYNC_SKIP_TEST) << int(ASYNC_SKIP_TEST | ASYNC_LOW_LATENCY);
        QTest::newRow("già accesa") << int(ASYNC_LOW_LATENCY) << int(ASYNC_LOW_LATENCY);
    }
    void bassa_latenza_chiesta_al_meglio()
    {
        QFETCH(int, prima);
        QFETCH(int, aperta);
        int flag = prima;
        ChiamateSeriali sistema = chiamate_di_sistema();
        if (prima >= 0)
            sistema.ioctl = [&flag](int, unsigned long richiesta, void* dati) {
                auto* s = static_cast<serial_struct*>(dati);
                if (richiesta == TIOCGSERIAL)
                    s->flags = flag;
                else
                    flag = s->flags;
                return 0;
            };
        PseudoTerminale altra;
        DispositivoSeriale d(sistema);
        QCOMPARE(d.apri(altra.dispositivo()).has_value(), false);
        QCOMPARE(flag, aperta);
        QCOMPARE(d.bassa_latenza_chiesta(), aperta != prima);
        QVERIFY(d.scrivi('R'));
        QTRY_COMPARE(altra.ricevuti(), QByteArray("R"));
        altra.scrivi("K");
        QTRY_COMPARE(d.in_arrivo(), 1);
        QCOMPARE(d.prendi(), std::uint8_t('K'));
        d.chiudi();
        QVERIFY(!d.aperto());
        QCOMPARE(flag, prima);
    }

    // Also the bytes the system holds and Qt has not read yet go.
    void scarta_quel_che_attende()
    {
        linea->scrivi("abc");
        QTest::qWait(20);
        linea->scrivi(QByteArray("\x00\xFF", 2));
        QCOMPARE(porta->scarta_in_arrivo(), 5);
        QCOMPARE(porta->scarta_in_arrivo(), 0);
        linea->scrivi("Z");
        QCOMPARE(carattere(), QByteArray("Z"));
    }

    void silenzio_data()
    {
        QTest::addColumn<QByteArray>("prima");
        QTest::addColumn<QByteArray>("durante");
        QTest::addColumn<bool>("quieta");
        QTest::newRow("nulla") << QByteArray() << QByteArray() << true;
        QTest::newRow("un byte in arrivo") << QByteArray() << QByteArray("K") << false;
        QTest::newRow("un byte già in attesa") << QByteArray("\x00", 1) << QByteArray() << false;
    }
    void silenzio()
    {
        QFETCH(QByteArray, prima);
        QFETCH(QByteArray, durante);
        QFETCH(bool, quieta);
        linea->scrivi(prima);
        QTest::qWait(20);
        auto attesa = avvia(porta->attendi_silenzio(200));
        linea->scrivi(durante);
        if (quieta)
            passa(199);
        else
            QTRY_VERIFY(attesa->esito.finito);
        QCOMPARE(attesa->esito.finito, !quieta);
        passa(1);
        QCOMPARE(*attesa->esito.valore, quieta);
        QCOMPARE(porta->scarta_in_arrivo(), prima.size() + durante.size());
    }

    void pronto_scarta_fino_alla_K()
    {
        auto attesa = avvia(porta->attendi_pronto());
        linea->scrivi("xy");
        QTest::qWait(50);
        QVERIFY(!attesa->esito.finito);
        linea->scrivi("K");
        QTRY_VERIFY(attesa->esito.finito);
        QVERIFY(!attesa->esito.errore);
        QCOMPARE(porta->buffer(), QByteArray("K"));
    }

    void pronto_lascia_in_coda_quel_che_segue_la_K()
    {
        linea->scrivi(QByteArray("K\x07", 2));
        auto attesa = avvia(porta->attendi_pronto());
        QTRY_VERIFY(attesa->esito.finito);
        QCOMPARE(carattere(), QByteArray("\x07"));
    }

    void carattere_uno_alla_volta_data()
    {
        QTest::addColumn<QByteArray>("arrivati");
        QTest::newRow("due lettere") << QByteArray("AB");
        QTest::newRow("zero e 255") << QByteArray("\x00\xFF", 2);
        QTest::newRow("zero zero") << QByteArray("\x00\x00", 2);
    }
    void carattere_uno_alla_volta()
    {
        QFETCH(QByteArray, arrivati);
        linea->scrivi(arrivati);
        for (char atteso : arrivati)
            QCOMPARE(carattere(), QByteArray(1, atteso));
    }

    void conferma_data()
    {
        QTest::addColumn<QByteArray>("risposta");
        QTest::addColumn<bool>("riuscita");
        QTest::newRow("K") << QByteArray("K") << true;
        QTest::newRow("K poi altro") << QByteArray("Kx") << true;
        QTest::newRow("nulla") << QByteArray() << false;
        QTest::newRow("xK") << QByteArray("xK") << false;
        QTest::newRow("k minuscola") << QByteArray("k") << false;
        QTest::newRow("zero") << QByteArray("\x00", 1) << false;
    }
    // The transmitter's protocol allows 4000 ms for an acknowledgement; any
    // other byte leaves the wait to its end.
    void conferma()
    {
        QFETCH(QByteArray, risposta);
        QFETCH(bool, riuscita);
        QCOMPARE(porta->timeout(), 4000);
        auto attesa = avvia(porta->attendi_conferma());
        linea->scrivi(risposta);
        if (!riuscita) {
            QTRY_COMPARE(porta->buffer(), risposta);
            passa(3999);
            QVERIFY(!attesa->esito.finito);
            passa(1);
        }
        QTRY_VERIFY(attesa->esito.finito);
        QCOMPARE(*attesa->esito.valore, riuscita);
    }

    void ogni_conferma_riparte_da_capo()
    {
        auto prima = avvia(porta->attendi_conferma());
        passa(2500);
        linea->scrivi("K");
        QTRY_VERIFY(prima->esito.finito);
        porta->svuota_buffer();
        auto seconda = avvia(porta->attendi_conferma());
        passa(3999);
        QVERIFY(!seconda->esito.finito);
        linea->scrivi("K");
        QTRY_VERIFY(seconda->esito.finito);
        QCOMPARE(*seconda->esito.valore, true);
    }

    // A handler that closes the port during a wait (the disconnect button)
    // runs to its end; the wait then ends as for a closed port.
    void chiusura_durante_le_attese()
    {
        auto conferma = avvia(porta->attendi_conferma());
        QTimer::singleShot(20, porta.get(), [this] { porta->chiudi_porta(); });
        QTRY_VERIFY(conferma->esito.finito);
        QCOMPARE(*conferma->esito.valore, false);

        porta->apri_porta();
        porta->svuota_buffer();
        auto lettura = avvia(porta->leggi_carattere());
        QTimer::singleShot(20, porta.get(), [this] { porta->chiudi_porta(); });
        QTRY_VERIFY(lettura->esito.finito);
        QCOMPARE(*lettura->esito.valore, QByteArray());

        porta->apri_porta();
        auto pronto = avvia(porta->attendi_pronto());
        bool finito_dentro_il_gestore = true;
        QTimer::singleShot(20, porta.get(), [&] {
            porta->chiudi_porta();
            finito_dentro_il_gestore = pronto->esito.finito;
        });
        QTRY_VERIFY(pronto->esito.finito);
        QVERIFY(!finito_dentro_il_gestore);
        QVERIFY(pronto->esito.errore);
        QCOMPARE(pronto->esito.errore->numero, 8012);

        porta->apri_porta();
        auto silenzio = avvia(porta->attendi_silenzio(1000));
        QTimer::singleShot(20, porta.get(), [this] { porta->chiudi_porta(); });
        QTRY_VERIFY_WITH_TIMEOUT(silenzio->esito.finito, 500);
        QVERIFY(silenzio->esito.errore);
        QCOMPARE(silenzio->esito.errore->numero, 8012);
    }

    // The adapter is pulled out under a wait: a closed port, no crash.
    void linea_persa_durante_le_attese()
    {
        auto conferma = avvia(porta->attendi_conferma());
        QTimer::singleShot(20, porta.get(), [this] { linea->riaggancia(); });
        QTRY_VERIFY_WITH_TIMEOUT(conferma->esito.finito, 2000);
        QCOMPARE(*conferma->esito.valore, false);
        QVERIFY(!porta->aperta());
        QCOMPARE(errore_di([&] { porta->invia('R'); }),
                 QStringLiteral("Porta %1 scollegata o non più disponibile 8022").arg(linea->dispositivo()));
        // Reopened, a closed port is just closed again.
        linea = std::make_unique<PseudoTerminale>();
        qputenv("BRENK_COM1", linea->dispositivo().toLocal8Bit());
        porta->apri_porta();
        porta->chiudi_porta();
        QCOMPARE(porta->errore_porta_chiusa().numero, 8012);
    }

    void abbandonare_un_attesa_non_lascia_nulla_da_riprendere()
    {
        auto pronto = avvia(porta->attendi_pronto());
        pronto.reset();
        linea->scrivi("K");
        porta->chiudi_porta();
        QTest::qWait(50);
        QVERIFY(!porta->aperta());
    }

    void ogni_byte_esce_tale_e_quale()
    {
        QByteArray tutti;
        for (int b = 0; b < 256; ++b) {
            porta->invia(static_cast<std::uint8_t>(b));
            tutti.append(static_cast<char>(b));
        }
        QTRY_COMPARE(linea->ricevuti(), tutti);
        // The farewell letter reaches the line although the port closes at once.
        porta->invia('E');
        porta->chiudi_porta();
        QCOMPARE(linea->ricevuti(), tutti + 'E');
    }

    void invio_su_porta_chiusa()
    {
        porta->chiudi_porta();
        QCOMPARE(errore_di([&] { porta->invia('L'); }), QStringLiteral("Operazione non valida: porta non aperta 8012"));
        QCOMPARE(linea->ricevuti(), QByteArray());
    }

    void aprire_una_porta_aperta_non_la_riapre()
    {
        linea->scrivi("Z");
        QTest::qWait(20);
        porta->apri_porta();
        QCOMPARE(carattere(), QByteArray("Z"));
    }

    // Com 2 does not open: no such device, or another configurator holds
    // it, in use, not forbidden, unless the user may not write the device
    // anyway. Com 1 carries on.
    void porta_che_non_si_apre_data()
    {
        QTest::addColumn<QString>("dispositivo"); // empty: the one of Com 1
        QTest::addColumn<bool>("scrivibile");
        QTest::addColumn<QString>("testo"); // %1: the one of Com 1
        QTest::newRow("inesistente")
            << "/dev/nessuna-porta-qui" << true << "Porta seriale inesistente: /dev/nessuna-porta-qui 8002";
        QTest::newRow("in uso") << QString() << true << "Porta %1 già aperta o in uso 8005";
        QTest::newRow("in uso, solo leggibile")
            << QString() << false << "Accesso negato alla porta %1 (l'utente deve far parte del gruppo dialout) 8010";
    }
    void porta_che_non_si_apre()
    {
        QFETCH(QString, dispositivo);
        QFETCH(bool, scrivibile);
        QFETCH(QString, testo);
        ChiamateSeriali sistema = chiamate_di_sistema();
        if (!scrivibile)
            sistema.accesso = [](const char*, int modo) { return (modo & W_OK) != 0 ? -1 : 0; };
        PortaSeriale altra(std::make_unique<DispositivoSeriale>(sistema), orologio_reale());
        qputenv("BRENK_COM2", (dispositivo.isEmpty() ? linea->dispositivo() : dispositivo).toLocal8Bit());
        altra.imposta_numero(2);
        QCOMPARE(errore_di([&] { altra.apri_porta(); }), testo.replace(QStringLiteral("%1"), linea->dispositivo()));
        QVERIFY(!altra.aperta());
        qunsetenv("BRENK_COM2");
        porta->invia('R');
        QTRY_COMPARE(linea->ricevuti(), QByteArray("R"));
    }
};

QTEST_GUILESS_MAIN(TestPorta)
#include "test_porta.moc"
