// SPDX-License-Identifier: GPL-3.0-or-later
#include "params/blocco.h"
#include "params/fabbrica.h"
#include "fabbrica_attesa.h"
#include "params/frequenza.h"
#include "params/telegrammi.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <utility>

using namespace brenk;

namespace {

Telegramma da_lista(const QList<int>& byte)
{
    Telegramma t{};
    std::transform(byte.begin(), byte.begin() + t.size(), t.begin(), [](int b) { return std::uint8_t(b); });
    return t;
}

} // namespace

Q_DECLARE_METATYPE(SceltaTelegrammi)

class TestBlocco : public QObject {
    Q_OBJECT

private slots:
    void codifica_byte_data()
    {
        QTest::addColumn<double>("valore");
        QTest::addColumn<int>("byte"); // -1: cannot be sent
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("zero") << 0.0 << 0;
        QTest::newRow("255") << 255.0 << 255;
        QTest::newRow("10.5 to even 10") << 10.5 << 10;
        QTest::newRow("11.5 to even 12") << 11.5 << 12;
        QTest::newRow("0.5 to even 0") << 0.5 << 0;
        QTest::newRow("254.5 to even 254") << 254.5 << 254;
        QTest::newRow("255.4 down") << 255.4 << 255;
        QTest::newRow("10.49 down") << 10.49 << 10;
        QTest::newRow("10.51 up") << 10.51 << 11;
        QTest::newRow("halved byte 4.5") << 4.5 << 4;
        QTest::newRow("-0.4 to 0") << -0.4 << 0;
        QTest::newRow("-0.5 to even 0") << -0.5 << 0;
        QTest::newRow("255.5 would be 256") << 255.5 << -1;
        QTest::newRow("256") << 256.0 << -1;
        QTest::newRow("-0.6 would be -1") << -0.6 << -1;
        QTest::newRow("-1") << -1.0 << -1;
        QTest::newRow("1e300") << 1e300 << -1;
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << -1;
        QTest::newRow("+inf") << inf << -1;
        QTest::newRow("-inf") << -inf << -1;
    }
    void codifica_byte()
    {
        QFETCH(double, valore);
        QFETCH(int, byte);
        const auto codificato = brenk::codifica_byte(valore);
        QCOMPARE(codificato ? int(*codificato) : -1, byte);
    }

    void complemento_data()
    {
        QTest::addColumn<qlonglong>("somma");
        QTest::addColumn<int>("byte");
        QTest::newRow("0") << 0LL << 255;
        QTest::newRow("255") << 255LL << 0;
        QTest::newRow("256") << 256LL << 255;
        QTest::newRow("400") << 400LL << 111;
        QTest::newRow("uhf factory sum") << 1393LL << 142;
        QTest::newRow("vhf factory sum") << 1561LL << 230;
        QTest::newRow("-1") << -1LL << 0;
        QTest::newRow("-256") << -256LL << 255;
        QTest::newRow("-300") << -300LL << 43;
        QTest::newRow("min") << std::numeric_limits<long long>::min() << 255;
        QTest::newRow("max") << std::numeric_limits<long long>::max() << 0;
    }
    void complemento()
    {
        QFETCH(qlonglong, somma);
        QFETCH(int, byte);
        QCOMPARE(int(brenk::complemento(somma)), byte);
    }

    void checksum_blocco_data()
    {
        QTest::addColumn<QList<double>>("valori"); // addresses 0.. onwards
        QTest::addColumn<int>("atteso");
        QTest::newRow("all zero") << QList<double>{} << 255;
        QTest::newRow("reals as their bytes") << QList<double>{10.5, 11.5, 4.5} << 229; // 10 + 12 + 4
        QTest::newRow("unsendable counts 0") << QList<double>{300, -5, std::nan(""), 7} << 248;
        QList<double> tutti(37, 255.0);
        QTest::newRow("37 times 255") << tutti << 36; // 9435 = 36 * 256 + 219
    }
    void checksum_blocco()
    {
        QFETCH(QList<double>, valori);
        QFETCH(int, atteso);
        BloccoParametri blocco;
        std::copy(valori.begin(), valori.end(), blocco.valori.begin());
        // Addresses past 36 never enter the sum.
        for (const auto& [indirizzo, valore] : {std::pair{37, 99}, {Tipo_brenk, 78}, {brenkVU, 85}, {totck, 12}})
            blocco[indirizzo] = valore;
        calcola_totck(blocco);
        QCOMPARE(blocco[totck], double(atteso));
    }

    void telegrammi_data()
    {
        QTest::addColumn<SceltaTelegrammi>("scelta"); // code, high tones, repeater, input
        QTest::addColumn<QList<int>>("telegrammi");   // the alarm's bytes, then the restore's
        QTest::addColumn<QList<int>>("vecchio");      // shown with Zelmbrenk 0: code, alarm input, restore input
        QTest::addColumn<int>("colpa");               // the field refused, or -1
        const auto riga = [](const char* nome, SceltaTelegrammi s, QList<int> t, QList<int> v, int c = -1) {
            QTest::newRow(nome) << s << t << v << c;
        };
        riga("1, input 1", {1, true, 0, 1}, {28, 7, 0, 1, 1, 120, 127, 255, 3, 28, 7, 0, 1, 0, 120, 126, 1, 3},
             {1, 1, 1});
        riga("255, input 2, high tones drop the repeater", {255, true, 9, 2},
             {28, 7, 0, 255, 2, 120, 130, 253, 3, 28, 7, 0, 255, 0, 120, 128, 1, 3}, {255, 1, 1});
        riga("256, input 3, low tones", {256, false, 0, 3},
             {28, 7, 1, 0, 4, 124, 126, 249, 3, 28, 7, 1, 0, 0, 124, 122, 1, 3}, {256, 5, 5});
        riga("500, input 4", {500, true, 0, 4}, {28, 7, 1, 244, 8, 120, 130, 1, 3, 28, 7, 1, 244, 0, 120, 138, 1, 3},
             {500, 1, 1});
        riga("513, input 5, repeater 1", {513, false, 1, 5},
             {28, 7, 6, 1, 16, 124, 108, 249, 3, 28, 7, 6, 1, 0, 124, 124, 249, 3}, {1537, 5, 5});
        riga("768, input 6, repeater 63", {768, false, 63, 6},
             {28, 7, 255, 0, 32, 124, 164, 185, 3, 28, 7, 255, 0, 0, 124, 132, 249, 3}, {65280, 5, 5});
        riga("1000, input 7", {1000, true, 63, 7},
             {28, 7, 3, 232, 64, 120, 212, 129, 3, 28, 7, 3, 232, 0, 120, 148, 1, 3}, {1000, 1, 1});
        riga("1023, input 8, repeater 5", {1023, false, 5, 8},
             {28, 7, 23, 255, 128, 124, 19, 211, 3, 28, 7, 23, 255, 0, 124, 147, 211, 3}, {6143, 5, 5});
        riga("repeater 64", {1, false, 64, 1}, QList<int>(18, 0), {}, int(Campo::cmb_Zelmrep));
        riga("lo 255.6", {255.6, true, 0, 1}, QList<int>(18, 0), {}, int(Campo::CodiceBrenk));
    }
    void telegrammi()
    {
        QFETCH(SceltaTelegrammi, scelta);
        QFETCH(QList<int>, telegrammi);
        QFETCH(QList<int>, vecchio);
        QFETCH(int, colpa);
        BloccoParametri b;
        const auto campo = codifica_telegrammi(scelta, b);
        QCOMPARE(campo ? int(*campo) : -1, colpa);
        Letti l{};
        std::copy_n(b.valori.begin(), l.size(), l.begin());
        QList<int> scritti(l.begin() + Byt1, l.begin() + Byt9 + 1);
        QCOMPARE(scritti << QList<int>(l.begin() + Byte1, l.begin() + Byte9 + 1), telegrammi);
        if (campo)
            return;
        // What an old type's programming sends stops before Zelmbrenk.
        QCOMPARE(codice_dei_telegrammi(std::span(l).first(34)), int(scelta.codice));
        for (const std::uint8_t zelmbrenk : {1, 0}) {
            l[Zelmbrenk] = zelmbrenk;
            const QList<int> mostrati{codice_dei_telegrammi(l), ingresso_del_telegramma(l, Byt1).value_or(0),
                                      ingresso_del_telegramma(l, Byte1).value_or(0)};
            QCOMPARE(mostrati, (zelmbrenk ? QList<int>{int(scelta.codice), int(scelta.ingresso), 0} : vecchio));
        }
    }

    void controllo_e_somma_data()
    {
        QTest::addColumn<QList<int>>("byte"); // bytes 1..9; 7 and 8 are ignored
        QTest::addColumn<int>("controllo");
        QTest::addColumn<int>("somma");
        QTest::newRow("bytes 1 and 9 do not count") << QList<int>{0, 7, 0, 1, 1, 192, 0, 0, 0} << 199 << 111;
        QTest::newRow("all 255") << QList<int>{255, 255, 255, 255, 255, 255, 0, 0, 255} << 255 << 5;
    }
    void controllo_e_somma()
    {
        QFETCH(QList<int>, byte);
        QFETCH(int, controllo);
        QFETCH(int, somma);
        Telegramma t = da_lista(byte);
        QCOMPARE(int(byte_controllo(t)), controllo);
        // The sum byte covers the check byte, so it needs the right one in place.
        t[6] = byte_controllo(t);
        QCOMPARE(int(byte_somma(t)), somma);
    }

    void fabbrica_data()
    {
        QTest::addColumn<Banda>("banda");
        QTest::addColumn<int>("somma");
        QTest::addColumn<int>("checksum");
        QTest::addColumn<int>("banda_byte");
        QTest::addColumn<QString>("frequenza");
        QTest::newRow("UHF") << Banda::UHF << 1393 << 142 << 85 << QStringLiteral("460");
        QTest::newRow("VHF") << Banda::VHF << 1561 << 230 << 86 << QStringLiteral("161");
    }
    void fabbrica()
    {
        QFETCH(Banda, banda);
        QFETCH(int, somma);
        QFETCH(int, checksum);
        QFETCH(int, banda_byte);
        QFETCH(QString, frequenza);
        const BloccoFabbrica& f = blocco_fabbrica(banda);
        QCOMPARE(f, banda == Banda::UHF ? brenk::prova::fabbrica_uhf_attesa : brenk::prova::fabbrica_vhf_attesa);
        QCOMPARE(std::accumulate(f.begin(), f.begin() + 37, 0), somma);
        QCOMPARE(int(f[totck]), int(brenk::complemento(somma)));
        QCOMPARE(int(f[totck]), checksum);

        BloccoParametri blocco;
        std::copy(f.begin(), f.end(), blocco.valori.begin());
        calcola_totck(blocco);
        QCOMPARE(blocco[totck], double(f[totck]));

        const Telegramma allarme = da_lista(QList<int>(f.begin() + Byt1, f.begin() + Byt9 + 1));
        const Telegramma ripristino = da_lista(QList<int>(f.begin() + Byte1, f.begin() + Byte9 + 1));
        QCOMPARE(allarme, brenk::telegramma(allarme[2], allarme[3], allarme[4], allarme[5]));
        QCOMPARE(ripristino, brenk::telegramma(ripristino[2], ripristino[3], ripristino[4], ripristino[5]));

        QCOMPARE(int(f[Tipo_brenk]), 78);
        QCOMPARE(int(f[brenkVU]), banda_byte);
        QCOMPARE(int(f[63]), 90);
        QCOMPARE(QList<int>(f.begin() + 37, f.begin() + Tipo_brenk), QList<int>(Tipo_brenk - 37, 0));

        QCOMPARE(decodifica_frequenza(blocco), frequenza);
    }

    void fabbriche_differiscono_solo_per_banda()
    {
        const BloccoFabbrica& uhf = blocco_fabbrica(Banda::UHF);
        const BloccoFabbrica& vhf = blocco_fabbrica(Banda::VHF);
        QList<int> diversi;
        for (int a = 0; a < dimensione_blocco; ++a)
            if (uhf[static_cast<std::size_t>(a)] != vhf[static_cast<std::size_t>(a)])
                diversi << a;
        QCOMPARE(diversi, (QList<int>{ByteT1, ByteT2, ByteT3, totck, brenkVU}));
    }
};

QTEST_GUILESS_MAIN(TestBlocco)
#include "test_blocco.moc"
