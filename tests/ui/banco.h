// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window on the test bench: built fresh, shown, active, with its
// beeps and messages recorded, a few ways to reach its controls as the
// operator does, and what else its tests share.

#include "avvisi_registrati.h"
#include "pseudo_terminale.h"
#include "ui/principale.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>

#include <functional>
#include <iterator>
#include <memory>

// The controls the status supervision enables and disables, in the order of
// the tests' expectation strings.
inline const char* const supervisionati[] = {"cmd_programma", "Cmd_disconetti", "Cmb_com",      "Cmd_connetti",
                                             "Cmd_init_vhf",  "Cmd_init_uhf",   "Cmd_tx",       "Cmb_tmr_p_all",
                                             "cmb_Zelmrep",   "Cmb_n_tx_tot",   "Cmb_N_ing_bat"};

struct Banco {
    AvvisiRegistrati avvisi;
    std::unique_ptr<brenk::Principale> finestra;
    // The device and the clock of the window's port: the serial port in real
    // time, unless a test gives a virtual line.
    std::function<std::unique_ptr<brenk::Dispositivo>()> dispositivo;
    brenk::Orologio* orologio = nullptr;

    // Builds, shows and activates the window, its beeps and messages going to
    // `altri` if given, else recorded afresh, with `file` named as on the
    // command line. False if it never became active.
    bool apri(brenk::Avvisi* altri = nullptr, const QString& file = {})
    {
        avvisi.azzera();
        brenk::Avvisi& a = altri ? *altri : avvisi;
        finestra = dispositivo ? std::make_unique<brenk::Principale>(a, dispositivo(), *orologio)
                               : std::make_unique<brenk::Principale>(a);
        if (!file.isEmpty())
            finestra->apri_al_caricamento(file);
        finestra->show();
        finestra->activateWindow();
        return QTest::qWaitForWindowActive(finestra.get());
    }

    template <typename T = QWidget>
    T* trova(const char* nome) const
    {
        return finestra->findChild<T*>(QString::fromLatin1(nome));
    }
    QLineEdit* casella(const char* nome) const { return trova<QLineEdit>(nome); }
    QComboBox* combo(const char* nome) const { return trova<QComboBox>(nome); }
    QRadioButton* opzione(const char* nome) const { return trova<QRadioButton>(nome); }
    QString stato() const { return casella("txb_stato_con")->text(); }
    QString aiuto() const { return casella("Text7")->text(); }
    // The supervised controls' enabled states as '1'/'0', with '-' wherever
    // `maschera` has one.
    QString abilitazioni(const QString& maschera = {}) const
    {
        QString s;
        for (qsizetype i = 0; i < qsizetype(std::size(supervisionati)); ++i) {
            const bool libero = i < maschera.size() && maschera.at(i) == u'-';
            s += libero ? u'-' : trova(supervisionati[i])->isEnabled() ? u'1' : u'0';
        }
        return s;
    }
};

// The tests of the main window: each test function meets it fresh, and it
// goes with the function.
class ProvaSulBanco : public QObject {
    Q_OBJECT

protected:
    Banco b;

private slots:
    void init() { QVERIFY(b.apri()); }
    void cleanup() { b.finestra.reset(); }
};

// Opens the list of `c` and clicks `voce` in it. False if the list did not open.
inline bool scegli(QComboBox* c, const QString& voce)
{
    c->setFocus();
    c->showPopup();
    QAbstractItemView* lista = c->view();
    if (!QTest::qWaitFor([lista] { return lista->isVisible(); }))
        return false;
    const QModelIndex indice = c->model()->index(c->findText(voce), 0);
    lista->scrollTo(indice);
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, lista->visualRect(indice).center());
    return true;
}

// A pseudo-terminal standing for "Com 1" while it lives.
struct LineaCom1 : PseudoTerminale {
    LineaCom1() { qputenv("BRENK_COM1", dispositivo().toLocal8Bit()); }
    ~LineaCom1() { qunsetenv("BRENK_COM1"); }
};

// The message box on the screen, if any.
inline QMessageBox* scatola_aperta()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<QMessageBox*>(w); m && m->isVisible())
            return m;
    return nullptr;
}

// Counts what would show on the screen or reach assistive tools: repaints and
// enabled-state changes of a widget and all inside it, changes of any text
// field and of any option button inside it.
class Spettatore : public QObject {
public:
    explicit Spettatore(QWidget& osservato)
    {
        osservato.installEventFilter(this);
        for (QWidget* w : osservato.findChildren<QWidget*>())
            w->installEventFilter(this);
        for (QLineEdit* casella : osservato.findChildren<QLineEdit*>())
            connect(casella, &QLineEdit::textChanged, this, [this] { ++testi; });
        for (QRadioButton* pulsante : osservato.findChildren<QRadioButton*>())
            connect(pulsante, &QRadioButton::toggled, this, [this] { ++selezioni; });
    }

    int ridisegni = 0;
    int abilitazioni = 0;
    int testi = 0;
    int selezioni = 0;

protected:
    bool eventFilter(QObject*, QEvent* evento) override
    {
        ridisegni += evento->type() == QEvent::Paint;
        abilitazioni += evento->type() == QEvent::EnabledChange;
        return false;
    }
};
