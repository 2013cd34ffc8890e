// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The requests to end that come from outside the program: SIGTERM
// (shutdown, `kill`), SIGINT (Ctrl+C) and SIGHUP (the terminal or the
// session gone). They arrive as a Qt signal in the main thread, from its
// event loop, never in the middle of an exchange. On Windows the session's
// end comes through Qt's own signals instead.

#include <QObject>

#include <memory>

class QSocketNotifier;

namespace brenk {

class SegnaliDiUscita : public QObject {
    Q_OBJECT
public:
    // Holds the three signals back for the event loop. It must run before
    // any thread starts (first thing in main), so that every thread inherits
    // it and none of them is ended by a signal.
    static void trattieni();

    explicit SegnaliDiUscita(QObject* parent = nullptr);
    ~SegnaliDiUscita() override;

    // False when the system gave no descriptor to read them from.
    bool ascoltati() const { return descrittore_ >= 0; }

signals:
    void arrivato();

private:
    void leggi();

    int descrittore_ = -1;
    std::unique_ptr<QSocketNotifier> notifica_;
};

} // namespace brenk
