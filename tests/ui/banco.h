// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window on the test bench: built fresh, shown, active, with its
// beeps and messages recorded, and a few ways to reach its controls as the
// operator does.

#include "avvisi_registrati.h"
#include "ui/principale.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <memory>

struct Banco {
    AvvisiRegistrati avvisi;
    std::unique_ptr<brenk::Principale> finestra;

    // Builds, shows and activates the window. Returns false if it never
    // became active.
    bool apri()
    {
        finestra = std::make_unique<brenk::Principale>(avvisi);
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

// Counts what would show on the screen or reach assistive tools: repaints and
// enabled-state changes of every widget of the window, changes of any text
// field and of any option button.
class Osservatore : public QObject {
public:
    explicit Osservatore(QWidget& finestra)
    {
        finestra.installEventFilter(this);
        for (QWidget* w : finestra.findChildren<QWidget*>())
            w->installEventFilter(this);
        for (QLineEdit* casella : finestra.findChildren<QLineEdit*>())
            connect(casella, &QLineEdit::textChanged, this, [this] { ++testi; });
        for (QRadioButton* pulsante : finestra.findChildren<QRadioButton*>())
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
