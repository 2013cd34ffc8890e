// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/mappa_porte.h"
#include "link/testi.h"

#include <QSerialPortInfo>
#include <QtGlobal>

#include <algorithm>

namespace brenk {

namespace {

bool adattatore(const QString& nome)
{
    return nome.contains(QLatin1String("ttyUSB")) || nome.contains(QLatin1String("ttyACM"));
}

QStringList porte_di_sistema()
{
    QStringList nomi;
    for (const auto& info : QSerialPortInfo::availablePorts())
        nomi << info.systemLocation();
    return nomi;
}

QString da_ambiente(int numero)
{
    return qEnvironmentVariable(qPrintable(QStringLiteral("BRENK_COM%1").arg(numero)));
}

} // namespace

QStringList ordina_porte(QStringList nomi)
{
    std::stable_sort(nomi.begin(), nomi.end(), [](const QString& a, const QString& b) {
        if (adattatore(a) != adattatore(b))
            return adattatore(a);
        return a < b;
    });
    return nomi;
}

QString dispositivo_per_com(int numero, const QStringList& porte_del_sistema)
{
    const QString variabile = da_ambiente(numero);
    if (!variabile.isEmpty())
        return variabile;
#ifdef Q_OS_WIN
    Q_UNUSED(porte_del_sistema);
    return QStringLiteral("COM%1").arg(numero);
#else
    const QStringList porte = ordina_porte(porte_del_sistema);
    if (numero >= 1 && numero <= porte.size())
        return porte.at(numero - 1);
    // No such port: opening this name fails with "port does not exist".
    return QStringLiteral("/dev/brenk-com%1-assente").arg(numero);
#endif
}

QString dispositivo_per_com(int numero)
{
    // The system is asked only when the environment does not decide.
    return dispositivo_per_com(numero, da_ambiente(numero).isEmpty() ? porte_di_sistema() : QStringList{});
}

int numero_com(const QString& nome)
{
    for (int n = 1; n <= porte_com; ++n) {
        if (nome == nome_com.arg(n))
            return n;
    }
    return 0;
}

QString descrizione_porte()
{
    QStringList righe;
    for (int n = 1; n <= porte_com; ++n)
        righe << nome_com.arg(n) + QStringLiteral(": ") + dispositivo_per_com(n);
    return righe.join(QLatin1Char('\n'));
}

} // namespace brenk
