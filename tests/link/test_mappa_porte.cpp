// SPDX-License-Identifier: GPL-3.0-or-later
// Which device each "Com n" of the window stands for: the system's serial
// ports in a fixed order, adapters first, unless a variable names it.

#include "link/mappa_porte.h"

#include <QTest>

using namespace brenk;

class TestMappaPorte : public QObject {
    Q_OBJECT

private slots:
    void com_n_tra_le_porte_del_sistema_data()
    {
        QTest::addColumn<int>("numero");
        QTest::addColumn<QStringList>("sistema");
        QTest::addColumn<QString>("dispositivo");
        const QStringList otto{"/dev/ttyS1",   "/dev/ttyUSB1", "/dev/ttyS0", "/dev/ttyACM0",
                               "/dev/ttyUSB0", "/dev/ttyS3",   "/dev/ttyS2", "/dev/ttyS4"};
        QTest::newRow("Com 1, un adattatore") << 1 << otto << "/dev/ttyACM0";
        QTest::newRow("Com 4, la prima integrata") << 4 << otto << "/dev/ttyS0";
        QTest::newRow("Com 8, l'ultima del sistema") << 8 << otto << "/dev/ttyS4";
        QTest::newRow("Com 3 con due porte")
            << 3 << QStringList{"/dev/ttyS0", "/dev/ttyUSB0"} << "/dev/brenk-com3-assente";
        QTest::newRow("Com 8 senza porte") << 8 << QStringList{} << "/dev/brenk-com8-assente";
    }
    void com_n_tra_le_porte_del_sistema()
    {
        QFETCH(int, numero);
        QFETCH(QStringList, sistema);
        QFETCH(QString, dispositivo);
        qunsetenv("BRENK_COM1");
        QCOMPARE(dispositivo_per_com(numero, sistema), dispositivo);
    }

    void ordine_delle_porte_data()
    {
        QTest::addColumn<QStringList>("trovate");
        QTest::addColumn<QStringList>("ordinate");
        QTest::newRow("adattatori prima")
            << QStringList{"/dev/ttyS1", "/dev/ttyUSB1", "/dev/ttyS0", "/dev/ttyACM0", "/dev/ttyUSB0"}
            << QStringList{"/dev/ttyACM0", "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyS0", "/dev/ttyS1"};
        QTest::newRow("solo integrate")
            << QStringList{"/dev/ttyS3", "/dev/ttyS2"} << QStringList{"/dev/ttyS2", "/dev/ttyS3"};
        QTest::newRow("nessuna") << QStringList{} << QStringList{};
    }
    void ordine_delle_porte()
    {
        QFETCH(QStringList, trovate);
        QFETCH(QStringList, ordinate);
        QCOMPARE(ordina_porte(trovate), ordinate);
    }

    void la_variabile_d_ambiente_sceglie_il_dispositivo()
    {
        qputenv("BRENK_COM5", "/dev/ttyUSB7");
        qputenv("BRENK_COM8", "/dev/ttyUSB9");
        QCOMPARE(dispositivo_per_com(5), QStringLiteral("/dev/ttyUSB7"));
        QCOMPARE(dispositivo_per_com(8, {"/dev/ttyS0"}), QStringLiteral("/dev/ttyUSB9"));
        qunsetenv("BRENK_COM8");
        QVERIFY(descrizione_porte().contains(QStringLiteral("Com 5: /dev/ttyUSB7")));
        QCOMPARE(descrizione_porte().count(QLatin1Char('\n')), 7);
        qunsetenv("BRENK_COM5");
    }
};

QTEST_GUILESS_MAIN(TestMappaPorte)
#include "test_mappa_porte.moc"
