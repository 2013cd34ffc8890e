// SPDX-License-Identifier: GPL-3.0-or-later
#include "params/frequenza.h"
#include "params/numero.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace brenk;

class TestFrequenza : public QObject {
    Q_OBJECT

private slots:
    void codifica_data()
    {
        QTest::addColumn<double>("f");
        QTest::addColumn<int>("n");
        QTest::addColumn<QList<qlonglong>>("t"); // ByteT1, ByteT2, ByteT3
        QTest::addColumn<QString>("testo");
        const auto riga = [](const char* nome, double f, int n, const QList<qlonglong>& t, const char* testo) {
            QTest::newRow(nome) << f << n << t << QString::fromLatin1(testo);
        };
        riga("160.9125", 160.9125, 12873, {0, 201, 18}, "160.9125");
        riga("440.9125", 440.9125, 35273, {2, 39, 18}, "440.9125");
        riga("10 kHz below", 160.9025, 12873, {0, 201, 18}, "160.9125");
        riga("just beyond 10 kHz below", 160.90249, 12872, {0, 201, 16}, "160.9");
        riga("just under 2.5 kHz above", 160.9149, 12873, {0, 201, 18}, "160.9125");
        riga("2.5 kHz above", 160.915, 12874, {0, 201, 20}, "160.925");
        riga("160", 160.0, 12800, {0, 200, 0}, "160");
        riga("130", 130.0, 10400, {0, 162, 64}, "130");
        riga("185", 185.0, 14800, {0, 231, 32}, "185");
        riga("400", 400.0, 32000, {1, 244, 0}, "400");
        riga("480", 480.0, 38400, {2, 88, 0}, "480");
        riga("empty text", 0.0, 0, {0, 0, 0}, "0");
        riga("last codable channel", 52428.7875, 4194303, {255, 255, 126}, "52428.7875");
    }
    void codifica()
    {
        QFETCH(double, f);
        QFETCH(int, n);
        QFETCH(QList<qlonglong>, t);
        QFETCH(QString, testo);
        QCOMPARE((t[0] * 256 + t[1]) * 64 + t[2] / 2, n);
        const ByteFrequenza b = calcola_byte_frequenza(f);
        QCOMPARE((QList<qlonglong>{b.t1, b.t2, b.t3}), t);

        BloccoParametri blocco;
        blocco[ByteT2 + 1] = 77; // the neighbours stay as they are
        codifica_frequenza(f, blocco);
        QCOMPARE((QList<double>{blocco[ByteT1], blocco[ByteT2], blocco[ByteT3]}), QList<double>(t.begin(), t.end()));
        QCOMPARE(blocco[BaseD3], 0.0);
        QCOMPARE(blocco[Byt1], 0.0);

        QCOMPARE(decodifica_frequenza(blocco), testo);
        QCOMPARE(blocco[ByteT3], t[2] / 2.0);
    }

    void decodifica_data()
    {
        QTest::addColumn<QList<double>>("t"); // ByteT1, ByteT2, ByteT3
        QTest::addColumn<QString>("testo");
        QTest::addColumn<double>("meta");
        const auto riga = [](const char* nome, const QList<double>& t, const char* testo, double meta) {
            QTest::newRow(nome) << t << QString::fromLatin1(testo) << meta;
        };
        riga("uhf factory", {2, 63, 0}, "460", 0);
        riga("vhf factory", {0, 201, 32}, "161", 16);
        riga("odd byte", {0, 201, 9}, "160.85625", 4.5);
        riga("four places", {0, 201, 18}, "160.9125", 9);
        riga("smallest step", {0, 0, 1}, "0.00625", 0.5);
        riga("odd top byte", {0, 0, 255}, "1.59375", 127.5);
        riga("all 255", {255, 255, 255}, "52429.59375", 127.5);
        riga("already halved", {0, 201, 4.5}, "160.828125", 2.25);
        riga("negative below one", {0, 0, -1}, "-0.00625", -0.5);
        riga("negative", {-1, 0, 0}, "-204.8", 0);
    }
    void decodifica()
    {
        QFETCH(QList<double>, t);
        QFETCH(QString, testo);
        QFETCH(double, meta);
        BloccoParametri blocco;
        std::copy(t.begin(), t.end(), blocco.valori.begin() + ByteT1);
        QCOMPARE(decodifica_frequenza(blocco), testo);
        QCOMPARE((QList<double>{blocco[ByteT1], blocco[ByteT2], blocco[ByteT3]}), (QList<double>{t[0], t[1], meta}));
    }

    void controllo_data()
    {
        QTest::addColumn<double>("f");
        QTest::addColumn<double>("banda");
        QTest::addColumn<bool>("avviso");
        QTest::addColumn<bool>("accettata");
        const auto riga = [](const char* nome, double f, double banda, bool avviso, bool accettata) {
            QTest::newRow(nome) << f << banda << avviso << accettata;
        };
        riga("uhf lower bound", 400, banda_uhf, true, true);
        riga("uhf upper bound", 480, banda_uhf, true, true);
        riga("uhf below band", 399.99, banda_uhf, true, false);
        riga("uhf above band", 480.01, banda_uhf, true, false);
        riga("uhf in range", 440.9125, banda_uhf, false, true);
        riga("uhf range bounds", 410, banda_uhf, false, true);
        riga("uhf range upper bound", 470, banda_uhf, false, true);
        riga("uhf past range", 470.0125, banda_uhf, true, true);
        riga("uhf refuses vhf without warning", 160.9125, banda_uhf, false, false);
        riga("vhf lower bound", 130, banda_vhf, true, true);
        riga("vhf upper bound", 185, banda_vhf, true, true);
        riga("vhf below band", 129.99, banda_vhf, true, false);
        riga("vhf above band", 185.01, banda_vhf, true, false);
        riga("vhf 135 after warning", 135, banda_vhf, true, true);
        riga("vhf range bounds", 140, banda_vhf, false, true);
        riga("175 no warning", 175, banda_vhf, false, true);
        riga("175.0125 warns, accepted", 175.0125, banda_vhf, true, true);
        riga("vhf refuses uhf without warning", 440, banda_vhf, false, false);
        riga("empty text on uhf", 0, banda_uhf, true, false);
        riga("empty text on vhf", 0, banda_vhf, true, false);
        riga("empty text, no band", 0, 0, true, true);
        riga("no band, anything codable", 900, 0, true, true);
        riga("band N is no band", 160.9125, tipo_nuovo, false, true);
        riga("NaN on vhf", std::nan(""), banda_vhf, true, false);
        riga("NaN, no band", std::nan(""), 0, true, false);
        riga("inf, no band", std::numeric_limits<double>::infinity(), 0, true, false);
    }
    void controllo()
    {
        QFETCH(double, f);
        QFETCH(double, banda);
        QFETCH(bool, avviso);
        QFETCH(bool, accettata);
        const ControlloFrequenza esito = controlla_frequenza(f, banda);
        QCOMPARE(esito.avviso_range, avviso);
        QCOMPARE(esito.accettata, accettata);
    }

    void fuori_banda_libera_data()
    {
        QTest::addColumn<double>("f");
        QTest::addColumn<bool>("accettata");
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("0") << 0.0 << true;
        QTest::newRow("10 kHz below 0") << -0.01 << true;
        QTest::newRow("first negative channel") << -0.02 << false;
        QTest::newRow("last codable channel") << 52428.7875 << true;
        QTest::newRow("just under the first too high") << 52428.7899 << true;
        QTest::newRow("first too high channel") << 52428.79 << false;
        QTest::newRow("52428.8") << 52428.8 << false;
        QTest::newRow("1e18") << 1e18 << false;
        QTest::newRow("1e300") << 1e300 << false;
        QTest::newRow("-1e300") << -1e300 << false;
        QTest::newRow("+inf") << inf << false;
        QTest::newRow("-inf") << -inf << false;
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << false;
    }

    // With no band limits, exactly the frequencies whose bytes can all be sent
    // are accepted.
    void fuori_banda_libera()
    {
        QFETCH(double, f);
        QFETCH(bool, accettata);
        for (double banda : {0.0, double(tipo_nuovo), 255.0})
            QCOMPARE(controlla_frequenza(f, banda).accettata, accettata);
        const ByteFrequenza b = calcola_byte_frequenza(f);
        QCOMPARE(codifica_byte(double(b.t1)) && codifica_byte(double(b.t2)) && codifica_byte(double(b.t3)), accettata);
    }

    // Every grid frequency of both bands, through its text and back, keeps its bytes.
    void andata_e_ritorno_di_ogni_canale()
    {
        for (const auto& [primo, ultimo] : {std::pair{10400, 14800}, std::pair{32000, 38400}}) {
            for (int n = primo; n <= ultimo; ++n) {
                BloccoParametri blocco;
                blocco[ByteT1] = n / 64 / 256;
                blocco[ByteT2] = n / 64 % 256;
                blocco[ByteT3] = 2 * (n % 64);
                const QString testo = decodifica_frequenza(blocco);
                const ByteFrequenza b = calcola_byte_frequenza(valore_numerico(testo));
                if ((b.t1 * 256 + b.t2) * 64 + b.t3 / 2 != n)
                    QFAIL(qPrintable(QStringLiteral("channel %1 came back from \"%2\" as another").arg(n).arg(testo)));
                QVERIFY(testo.size() <= 9);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestFrequenza)
#include "test_frequenza.moc"
