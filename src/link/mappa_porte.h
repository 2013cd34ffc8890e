// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Which device "Com 1" to "Com 8" stand for. The environment variable
// BRENK_COM<n> names the device of port n; otherwise, on Linux, port n is the
// n-th serial port the system reports, USB and ACM adapters first, then the
// others, each group by name; on Windows it is COM<n>.

#include <QString>
#include <QStringList>

namespace brenk {

// The port box offers "Com 1" to "Com 8".
inline constexpr int porte_com = 8;

// "Com 1" to "Com 8" give 1 to 8; any other text gives 0.
int numero_com(const QString& nome);

// The device for port `numero` (1 to 8), chosen now.
QString dispositivo_per_com(int numero);
// The same with `porte_del_sistema` as the serial devices the system has,
// in any order.
QString dispositivo_per_com(int numero, const QStringList& porte_del_sistema);

// The serial devices in the order that numbers them: USB and ACM adapters
// first, then the rest, each group sorted by name.
QStringList ordina_porte(QStringList nomi);

// One line per port, "Com n: device", for the port box's tooltip.
QString descrizione_porte();

} // namespace brenk
