// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What brenk-zelm and brenk-sim share as programs: Qt's own words in
// Italian, and what they say of themselves with --version.

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace brenk {

// After the name: the release, the licence and the project's homepage. The
// build sets BRENK_VERSIONE and BRENK_SITO from the project's version and its
// BRENK_SITO cache variable.
inline QString testo_versione()
{
    return QStringLiteral(BRENK_VERSIONE
                          "\n"
                          "Software libero con licenza GPL-3.0-or-later (GNU GPL, versione 3 o successiva):\n"
                          "lo si può ridistribuire e modificare; non c'è alcuna garanzia.\n" BRENK_SITO);
}

// The two lines of the command-line help that Qt's Italian catalogue lacks.
class AiutoInItaliano : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char* contesto, const char* testo, const char*, int) const override
    {
        if (qstrcmp(contesto, "QCommandLineParser") != 0)
            return {};
        if (qstrcmp(testo, "Displays help on commandline options.") == 0)
            return QStringLiteral("Mostra l'aiuto sulle opzioni della riga di comando.");
        if (qstrcmp(testo, "Displays help including Qt specific options.") == 0)
            return QStringLiteral("Mostra l'aiuto con anche le opzioni proprie di Qt.");
        return {};
    }
    bool isEmpty() const override { return false; }
};

// The programs speak Italian whatever the session's language, and so do
// Qt's own words: context menus, standard buttons, the help's headings.
// Needs the application; the translators are its children.
inline void parla_italiano()
{
    auto* qt = new QTranslator(QCoreApplication::instance());
    if (qt->load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    QCoreApplication::installTranslator(new AiutoInItaliano(QCoreApplication::instance()));
}

} // namespace brenk
