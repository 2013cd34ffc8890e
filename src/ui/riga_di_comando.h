// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The configurator's command line. Nothing in it may abort the program:
// --help, --help-all, --version and a usage error answer with or without a
// screen, and a screen that is missing or does not answer gives one line.
//
// Qt takes its own options (-platform, -stylesheet, ...) out of argv when
// QApplication starts, and aborts when no platform it tries can start. So the
// platforms it tries always end with "offscreen", which needs no screen: the
// application then starts everywhere, and the options are read after it.

#include <QApplication>

#include <optional>

namespace brenk {

class RigaDiComando {
public:
    // Before QApplication: chooses the platforms Qt tries and holds back
    // Qt's messages about those that fail.
    RigaDiComando(int argc, char** argv);

    // After QApplication: installs Qt's Italian translations and reads the
    // options. Returns the exit status when the program ends here (help,
    // version, a usage error, no screen), nothing when the windows may open.
    std::optional<int> leggi(QApplication& app);

    // The parameter file named on the command line, if any.
    const std::optional<QString>& file() const { return file_; }
    // The record given with --registro: a file or a server's address.
    const std::optional<QString>& registro() const { return registro_; }

private:
    bool schermo_trovato() const;

    QByteArray piattaforme_; // those asked for, or the session's
    QByteArray elenco_;      // what Qt tries: those, then "offscreen"
    bool schermo_indicato_ = false;
    std::optional<QString> file_;
    std::optional<QString> registro_;
};

} // namespace brenk
