// SPDX-License-Identifier: GPL-3.0-or-later
#include "params/numero.h"

#include <QLocale>
#include <QTest>

#include <limits>

using namespace brenk;

class TestNumero : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A comma-decimal locale must not change how a point is read.
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    }

    // clang-format off
    void valore_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<double>("valore");
        const auto riga = [](const char* nome, const QString& testo, double valore) {
            QTest::newRow(nome) << testo << valore;
        };
        riga("empty", QString(), 0);
        riga("plain", QStringLiteral("160.9125"), 160.9125);
        riga("letters stop", QStringLiteral("12a4"), 12);
        riga("blank inside digits", QStringLiteral("1 024"), 1024);
        riga("tabs and line breaks", QStringLiteral("\t1\r\n0 2\n4"), 1024);
        riga("form feed and vertical tab", QStringLiteral("\f1\v2"), 12);
        riga("leading blanks", QStringLiteral("   42"), 42);
        riga("blank after sign", QStringLiteral("- 5"), -5);
        riga("plus sign", QStringLiteral("+7"), 7);
        riga("negative", QStringLiteral("-3.25"), -3.25);
        riga("second point stops", QStringLiteral("160.91.25"), 160.91);
        riga("comma stops", QStringLiteral("1,5"), 1);
        riga("leading point", QStringLiteral(".5"), 0.5);
        riga("trailing point", QStringLiteral("5."), 5);
        riga("leading zeros", QStringLiteral("000.0500"), 0.05);
        riga("exponent e", QStringLiteral("2e3"), 2000);
        riga("exponent D", QStringLiteral("2D3"), 2000);
        riga("exponent lower d", QStringLiteral("2d3"), 2000);
        riga("exponent upper E", QStringLiteral("2E3"), 2000);
        riga("negative exponent", QStringLiteral("25e-1"), 2.5);
        riga("exponent plus and blanks", QStringLiteral("1.5 e + 2"), 150);
        riga("exponent without digits", QStringLiteral("1e"), 1);
        riga("exponent sign only", QStringLiteral("1e-"), 1);
        riga("exponent stops at point", QStringLiteral("1e2.5"), 100);
        riga("sign alone", QStringLiteral("-"), 0);
        riga("point alone", QStringLiteral("."), 0);
        riga("no number", QStringLiteral("abc"), 0);
        riga("exponent without mantissa", QStringLiteral("e5"), 0);
        riga("two signs", QStringLiteral("+-3"), 0);
        riga("hex", QStringLiteral("&H1F"), 31);
        riga("hex lower case", QStringLiteral("&hff"), 255);
        riga("hex stops at G", QStringLiteral("&H1G"), 1);
        riga("hex with blanks", QStringLiteral(" & H 1 0"), 16);
        riga("octal", QStringLiteral("&O17"), 15);
        riga("octal stops at 8", QStringLiteral("&o78"), 7);
        riga("hex prefix alone", QStringLiteral("&H"), 0);
        riga("ampersand alone", QStringLiteral("&"), 0);
        riga("other prefix", QStringLiteral("&X12"), 0);
        riga("full-width digit stops", QStringLiteral("1\uFF12"), 1);
        riga("non-breaking space stops", QStringLiteral("1\u00A02"), 1);
        // Texts that must neither crash nor take long.
        const double inf = std::numeric_limits<double>::infinity();
        const QString milione(1'000'000, QLatin1Char('9'));
        riga("a million digits", milione, inf);
        riga("a million digits after the point", QStringLiteral("0.") + milione, 1.0);
        riga("a million zeros then a digit",
             QStringLiteral("0.") + QString(1'000'000, QLatin1Char('0')) + QStringLiteral("1e1000005"), 1e4);
        riga("a million leading zeros", QString(1'000'000, QLatin1Char('0')) + QStringLiteral("42"), 42.0);
        riga("a million blanks", QString(1'000'000, QLatin1Char(' ')) + QStringLiteral("7"), 7.0);
        riga("a million hex digits", QStringLiteral("&H") + QString(1'000'000, QLatin1Char('F')), inf);
        riga("huge exponent", QStringLiteral("1e99999"), inf);
        riga("huge negative", QStringLiteral("-1e99999"), -inf);
        riga("tiny exponent", QStringLiteral("1e-99999"), 0.0);
        riga("exponent of a million digits", QStringLiteral("1e") + milione, inf);
        riga("exponent that cancels the digits", QString(400, QLatin1Char('1')) + QStringLiteral("e-399"),
             1.1111111111111112);
        riga("zero with huge exponent", QStringLiteral("0e99999"), 0.0);
        riga("embedded NUL", QString::fromUtf8("12\0" "34", 5), 12.0);
        riga("leading NUL", QString(1, QChar(0)) + QStringLiteral("5"), 0.0);
        riga("invalid UTF-8", QString::fromUtf8("3\xff\xfe" "4"), 3.0);
        riga("invalid UTF-8 first", QString::fromUtf8("\xc3\x28" "9"), 0.0);
        riga("lone surrogate", QStringLiteral("8") + QChar(0xD800) + QStringLiteral("1"), 8.0);
    }
    // clang-format on
    void valore()
    {
        QFETCH(QString, testo);
        QFETCH(double, valore);
        QCOMPARE(valore_numerico(testo), valore);
    }
};

QTEST_GUILESS_MAIN(TestNumero)
#include "test_numero.moc"
