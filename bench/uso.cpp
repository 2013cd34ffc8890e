// SPDX-License-Identifier: GPL-3.0-or-later
#include "uso.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace brenk {

namespace {

double secondi(const timeval& t)
{
    return double(t.tv_sec) + double(t.tv_usec) / 1e6;
}

QByteArray leggi(const QString& percorso)
{
    QFile file(percorso);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The number after `campo` in a /proc status file.
long valore(const QByteArray& stato, const QByteArray& campo)
{
    const qsizetype da = stato.indexOf(campo);
    return da < 0 ? 0 : stato.mid(da + campo.size()).trimmed().split('\n').value(0).toLong();
}

} // namespace

double secondi_processore(int chi)
{
    rusage uso{};
    getrusage(chi, &uso);
    return secondi(uso.ru_utime) + secondi(uso.ru_stime);
}

UsoFilo uso_del_filo()
{
    rusage uso{};
    getrusage(RUSAGE_THREAD, &uso);
    return {uso.ru_nvcsw + uso.ru_nivcsw, secondi(uso.ru_utime) + secondi(uso.ru_stime)};
}

// The run time comes from schedstat, in nanoseconds: the tick-counted times
// of /proc/.../stat are too coarse for a thread that wakes for microseconds.
QMap<QByteArray, Filo> fili()
{
    QMap<QByteArray, Filo> fili;
    const QDir cartella(QStringLiteral("/proc/self/task"));
    for (const QString& id : cartella.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString radice = cartella.filePath(id) + u'/';
        const QByteArray stato = leggi(radice + QStringLiteral("status"));
        fili[id.toLatin1()] = {leggi(radice + QStringLiteral("comm")).trimmed(),
                               valore(stato, "\nvoluntary_ctxt_switches:")
                                   + valore(stato, "\nnonvoluntary_ctxt_switches:"),
                               leggi(radice + QStringLiteral("schedstat")).split(' ').value(0).toDouble() / 1e9};
    }
    return fili;
}

double picco_memoria_mb()
{
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return double(uso.ru_maxrss) / 1024.0;
}

double dall_avvio()
{
    const QByteArray riga = leggi(QStringLiteral("/proc/self/stat"));
    const QByteArray uptime = leggi(QStringLiteral("/proc/uptime"));
    if (riga.isEmpty() || uptime.isEmpty())
        return -1;
    const QList<QByteArray> campi = riga.mid(riga.lastIndexOf(')') + 2).split(' ');
    const double avvio = campi.value(19).toDouble() / double(sysconf(_SC_CLK_TCK));
    return uptime.split(' ').value(0).toDouble() - avvio;
}

} // namespace brenk
