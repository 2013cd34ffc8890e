// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as a screen reader hears it, on the accessibility bus of a
// D-Bus session and an X server of its own (scripts/bus_accessibile.sh).

#include "banco.h"

#include <QAccessible>
#include <QtDBus>

class TestLettoreSchermo : public ProvaSulBanco {
    Q_OBJECT
    QDBusConnection bus{QString()};
    QString finestra_sul_bus;
    QList<std::pair<QString, QString>> sentiti; // object, "showing 1"

    static QString via(QObject* o)
    {
        return "/org/a11y/atspi/accessible/"
               + QString::number(QAccessible::uniqueId(QAccessible::queryAccessibleInterface(o)));
    }
    // Every event until now: a mark the window sends after them comes after them.
    bool tutti()
    {
        const auto segna = [this] {
            QAccessibleEvent segno(b.finestra.get(), QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&segno);
        };
        QMetaObject::invokeMethod(this, segna, Qt::QueuedConnection);
        const std::pair segno{via(b.finestra.get()), QStringLiteral("accessible-description 0")};
        return QTest::qWaitFor([&] { return sentiti.contains(segno); }) && sentiti.removeAll(segno);
    }

private slots:
    void sentito(const QDBusMessage& m)
    {
        finestra_sul_bus = m.service();
        sentiti.append({m.path(), m.arguments().value(0).toString() + ' ' + m.arguments().value(1).toString()});
    }

    // Asked for before Qt's bridge joins the bus, which it does from the event loop.
    void initTestCase()
    {
        const auto a11y = QDBusMessage::createMethodCall("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress");
        bus = QDBusConnection::connectToBus(QDBusConnection::sessionBus().call(a11y).arguments().value(0).toString(),
                                            "lettore");
        for (const char* evento : {"StateChanged", "PropertyChange"})
            QVERIFY(bus.connect({}, {}, "org.a11y.atspi.Event.Object", evento, this, SLOT(sentito(QDBusMessage))));
        const QString registro = "org.a11y.atspi.Registry";
        auto registra = QDBusMessage::createMethodCall(registro, "/org/a11y/atspi/registry", registro, "RegisterEvent");
        QCOMPARE(bus.call(registra << "object:").type(), QDBusMessage::ReplyMessage);
        QTRY_VERIFY(QAccessible::isActive());
    }

    // What one object is heard to do, step by step. A note or a confirmation
    // shows as a notification named by its text, heard once: not when set
    // again, nor when replaced in the same step. "Ctrl+O" opens the dialog of
    // "Apri…" and closes it, and the focus goes to the object.
    void uditi_data()
    {
        QTest::addColumn<QString>("oggetto");
        QTest::addColumn<QList<QStringList>>("passi");
        QTest::addColumn<QStringList>("uditi");
        const QString muto = "Il trasmettitore non risponde. \"Disconetti\" termina l'attesa.";
        const QString verificato = "Verificato: gli indirizzi 0 - 61 contengono i valori scritti";
        const QString assegnato = "\"Assegnato a\" registrato per il Codice Brenk 7";
        QTest::newRow("una nota, due volte")
            << "lab_verifica" << QList<QStringList>{{muto}, {muto}} << QStringList{"showing 1 notification: " + muto};
        QTest::newRow("lettura in serie") << "lab_verifica" << QList<QStringList>{QStringList(7, {}) << assegnato}
                                          << QStringList{"showing 1 notification: " + assegnato};
        QTest::newRow("nota, conferma, niente")
            << "lab_verifica" << QList<QStringList>{{muto}, {{}, verificato}, {QString()}}
            << QStringList{"showing 1 notification: " + muto, "showing 1 notification: " + verificato,
                           "showing 0 notification: "};
        QTest::newRow("dopo Apri…")
            << "CodiceBrenk" << QList<QStringList>{{"Ctrl+O"}} << QStringList{"focused 1 text: Codice Brenk"};
    }
    void uditi()
    {
        QFETCH(QString, oggetto);
        QFETCH(QList<QStringList>, passi);
        QWidget* o = b.trova(qPrintable(oggetto));
        QStringList uditi;
        for (const QStringList& testi : passi) {
            QVERIFY(tutti());
            sentiti.clear();
            for (const QString& testo : testi) {
                if (testo == "Ctrl+O") {
                    QTest::keyClick(b.finestra.get(), Qt::Key_O, Qt::ControlModifier);
                    QTRY_VERIFY(qobject_cast<QDialog*>(QApplication::activeWindow()));
                    QTest::keyClick(QApplication::activeWindow(), Qt::Key_Escape);
                    o->setFocus();
                    QTRY_VERIFY(sentiti.contains({via(o), "focused 1"}));
                } else {
                    testo.isEmpty() ? b.finestra->mostra_conferma(testo) : b.finestra->mostra_nota(testo);
                }
            }
            QVERIFY(tutti());
            // What the object says of itself, answered from the window's event loop.
            auto m = QDBusMessage::createMethodCall(finestra_sul_bus, via(o), "org.a11y.atspi.Accessible",
                                                    "GetRoleName");
            QDBusPendingReply<QString> ruolo = bus.asyncCall(m);
            m = QDBusMessage::createMethodCall(finestra_sul_bus, via(o), "org.freedesktop.DBus.Properties", "Get");
            QDBusPendingReply<QDBusVariant> nome = bus.asyncCall(m << "org.a11y.atspi.Accessible"
                                                                   << "Name");
            QTRY_VERIFY(ruolo.isFinished() && nome.isFinished());
            for (const auto& [chi, cosa] : std::as_const(sentiti))
                if (chi == via(o))
                    uditi << cosa + ' ' + ruolo.value() + ": " + nome.value().variant().toString();
        }
        QTEST(uditi, "uditi");
    }
};

QTEST_MAIN(TestLettoreSchermo)
#include "test_lettore_schermo.moc"
