// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's parameter fields: the choices and range labels the table
// of fields gives them, the entry checks of the typed ones, a pick from a
// box's list, the port box, and what the option buttons store.

#include "ui/principale.h"

#include "link/mappa_porte.h"
#include "link/testi.h"
#include "params/numero.h"
#include "ui/controlli_ingresso.h"
#include "ui/testi.h"
#include "ui_principale.h"

#include <QFocusEvent>
#include <QToolTip>

namespace brenk {

// Every box takes typed text and adds none of it to its choices, eight of
// which it shows at a time, first to last; a box of numbers shows none of
// them until a read or the operator fills it.
void Principale::riempi_scelte()
{
    for (QComboBox* casella : findChildren<QComboBox*>()) {
        casella->setEditable(true);
        casella->setInsertPolicy(QComboBox::NoInsert);
        casella->setMaxVisibleItems(8);
    }
    for (const SchedaCampo& s : schede_campi) {
        if (s.immissione != Immissione::Scelta)
            continue;
        auto* casella = static_cast<QComboBox*>(campo(s.campo));
        casella->addItems(scelte(s));
        casella->setCurrentIndex(-1);
    }
    for (int n = 1; n <= porte_com; ++n)
        ui_->Cmb_com->addItem(nome_com.arg(n));
}

// The ranges the labels beside the typed fields state.
void Principale::scrivi_intervalli()
{
    ui_->lab_range_codice->setText(testo_intervallo(scheda(Campo::CodiceBrenk).valori));
    ui_->lab_range_vhf->setText(testo_intervallo(frequenze_vhf.etichetta));
    ui_->lab_range_uhf->setText(testo_intervallo(frequenze_uhf.etichetta));
    ui_->lab_range_rapina->setText(testo_intervallo(scheda(Campo::txb_tmp_rap).valori) + unita_secondi);
    ui_->lab_range_amp->setText(testo_intervallo(scheda(Campo::txb_amp).valori) + unita_secondi);
}

// ---- Typed fields ----

void Principale::collega_campi_digitati()
{
    for (QLineEdit* casella : digitati_) {
        connect(casella, &QLineEdit::textChanged, this, [this, casella] { controlla(casella); });
        casella->installEventFilter(this);
    }
}

void Principale::controlla(QLineEdit* casella)
{
    const QString testo = casella->text();
    const auto c = static_cast<Campo>(std::find(campi_.begin(), campi_.end(), casella) - campi_.begin());
    const auto azioni = c == Campo::FqTx ? controllo_frequenza(testo) : controllo_cifre(testo, scheda(c).valori);
    for (const Azione& a : azioni) {
        switch (a.tipo) {
        case Azione::Beep:
            beep();
            break;
        case Azione::Seleziona:
            casella->setSelection(a.posizione, 1);
            break;
        case Azione::Fuoco:
            casella->setFocus();
            break;
        case Azione::Suggerimento:
            suggerisci(casella, a.testo);
            break;
        }
    }
}

// The tip goes just below the field, outside the field's own rectangle: Qt
// then takes each call as a new tip, so a wrong key pressed while the last
// tip is fading out shows it again instead of leaving it to vanish.
void Principale::suggerisci(QLineEdit* casella, const QString& testo)
{
    QToolTip::showText(casella->mapToGlobal(QPoint(0, casella->height())), testo, casella, casella->rect());
}

// Leaving a field checks it again; a flagged character takes the focus back.
// Switching to another application or opening the field's own context menu
// is not leaving it. The check runs once the focus change is complete.
void Principale::lascia_campo(QLineEdit* casella, const QFocusEvent& evento)
{
    QToolTip::hideText();
    if (evento.reason() == Qt::ActiveWindowFocusReason || evento.reason() == Qt::PopupFocusReason)
        return;
    QTimer::singleShot(0, casella, [this, casella] { controlla(casella); });
}

// ---- Combo boxes ----

void Principale::collega_combo()
{
    for (QComboBox* casella : findChildren<QComboBox*>()) {
        // Only a pick from the list is a choice. The lists are fixed: no
        // completion, and the end of an edit (Enter, or leaving the box after
        // typing) picks nothing.
        casella->setCompleter(nullptr);
        disconnect(casella->lineEdit(), &QLineEdit::editingFinished, casella, nullptr);
        if (casella != ui_->Cmb_com) {
            connect(casella, &QComboBox::activated, this,
                    [this, casella] { QTimer::singleShot(0, casella, [this, casella] { scelta_da_lista(casella); }); });
        }
    }
    connect(ui_->Cmb_com, &QComboBox::activated, this, &Principale::Cmb_com_Click);
    connect(ui_->Cmb_com->lineEdit(), &QLineEdit::textEdited, this, &Principale::Cmb_com_Change);
    ui_->Cmb_com->installEventFilter(this);
}

// After a pick the box is hidden and shown again: its list closes and the
// focus moves on to the next control, so further typing does not land in it.
void Principale::scelta_da_lista(QComboBox* casella)
{
    casella->hide();
    casella->show();
    if (casella == ui_->cmb_Zelmrep)
        regola_ripetitore();
}

// A repeater code other than 0, among the box's choices, picked in Zelm
// mode wants the low tones.
void Principale::regola_ripetitore()
{
    const double codice = valore_numerico(ui_->cmb_Zelmrep->currentText());
    if (ui_->Opt_zelm->isChecked() && codice >= 1 && codice <= scheda(Campo::cmb_Zelmrep).valori.massimo)
        seleziona(Opzione::Opt_toni_bassi);
}

void Principale::Cmb_com_Click()
{
    const int numero = numero_com(ui_->Cmb_com->currentText());
    sessione_->scegli_porta(numero);
    if (!numero)
        beep();
    // Takes the focus away from the box.
    ui_->Cmb_com->setEnabled(false);
    ui_->Cmb_com->setEnabled(true);
}

void Principale::Cmb_com_Change()
{
    ui_->Text7->setText(errore_com);
    beep();
}

// ---- Option pairs ----

// A button that becomes selected, by a click or from code, stores its value.
// Only the selected button of a pair is a tab stop; the other takes the
// focus by a click only.
void Principale::collega_opzioni()
{
    for (std::size_t i = 0; i < opzioni_.size(); ++i) {
        QRadioButton* pulsante = opzioni_[i];
        const auto tabulazione = [pulsante] {
            pulsante->setFocusPolicy(pulsante->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
        };
        tabulazione();
        connect(pulsante, &QRadioButton::toggled, this, [this, i, tabulazione](bool selezionato) {
            tabulazione();
            if (selezionato)
                sessione_->blocco()[schede_coppie[i / 2].indirizzo] = static_cast<double>(i % 2);
        });
    }
}

} // namespace brenk
