// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window: the parameter fields with their entry checks, the buttons
// that start the device operations, the port box, the status supervision,
// the scrolling title and the help line. It shows what the session tells it
// and forwards the operator's actions to it.

#include "link/segnali.h"
#include "ops/finestra.h"
#include "sessione/sessione.h"
#include "ui/riposo_cursore.h"

#include <QFileInfo>
#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>

class QComboBox;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace Ui {
class Principale;
}

namespace brenk {

class Avvisi;

class Principale : public QWidget, public Finestra {
    Q_OBJECT
public:
    // On the serial port, in real time.
    explicit Principale(Avvisi& avvisi, QWidget* parent = nullptr);
    // On any device and clock: the tests' virtual line.
    Principale(Avvisi& avvisi, std::unique_ptr<Dispositivo> dispositivo, Orologio& orologio, QWidget* parent = nullptr);
    ~Principale() override;

    QString testo(Campo campo) const override;
    void imposta_testo(Campo campo, const QString& testo) override;
    bool selezionata(Opzione opzione) const override;
    void seleziona(Opzione opzione) override;
    void nessuna_scelta(Opzione opzione) override;
    void imposta_stato(const QString& stato) override;
    void imposta_tipo(const QString& tipo) override;
    void mostra_progresso(bool visibile) override;
    void imposta_massimo_progresso(int massimo) override;
    void imposta_progresso(int valore) override;
    void mostra_conferma(const QString& testo) override;
    void mostra_nota(const QString& testo) override;
    void beep() override;
    Task<void> messaggio(const QString& testo, Icona icona) override;

    Sessione& sessione() { return *sessione_; }
    // A device operation is running.
    bool occupato() const { return sessione_->occupato(); }
    // The farewell without waiting for the exchange in flight, for when the
    // program ends under it.
    void congedo_immediato() { sessione_->congedo_immediato(); }

    // The file features (principale_file.cpp). Each file's trouble is told
    // in a message and leaves the window as it was.
    void apri_file(const QString& percorso);
    void salva_file(const QString& percorso);
    // The record, a file or a server's address, chosen by the operator or on
    // the command line: "Registro" on.
    void usa_registro(const QString& indirizzo);
    // A file named on the command line, opened once the window has loaded.
    // Its name names the site of a record chosen before it opens.
    void apri_al_caricamento(const QString& percorso)
    {
        da_aprire_ = percorso;
        sessione_->imposta_sito(QFileInfo(percorso).completeBaseName());
    }

public slots:
    // Status supervision: evaluates the status table once and changes only
    // the controls whose state differs from it. Once the window has loaded it
    // runs from the event loop whenever one of the table's inputs may have
    // changed (see rivaluta()).
    void Timer_stato_Timer();
    // Title scroll, every 150 ms once the window has loaded.
    void Tmr_scritte_Timer();

signals:
    // The operator has left: "ESCI" or the window closed.
    void uscita();

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;
    void showEvent(QShowEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;
    void dragEnterEvent(QDragEnterEvent* evento) override;
    void dropEvent(QDropEvent* evento) override;
    void paintEvent(QPaintEvent* evento) override;

private:
    void applica_aspetto();
    void riempi_scelte();
    void scrivi_intervalli();
    void collega_campi_digitati();
    void collega_combo();
    void collega_opzioni();
    void collega_pulsanti();
    void collega_aiuto();
    void collega_supervisione();
    void collega_conferma();
    void ordina_tabulazione();
    void carica();
    void rivaluta();
    void segui_il_fuoco(QWidget* prima);
    QPushButton* pulsante_seguente() const;
    void parcheggia(QPushButton* pulsante);
    void valuta_in_coda();

    void controlla(QLineEdit* campo);
    void suggerisci(QLineEdit* campo, const QString& testo);
    void lascia_campo(QLineEdit* campo, const QFocusEvent& evento);
    void scelta_da_lista(QComboBox* casella);
    void regola_ripetitore();
    void Cmb_com_Click();
    void Cmb_com_Change();
    void mostra_aiuto(QWidget* area, QPoint posizione);
    bool premuto_con_invio(QObject* oggetto, const QKeyEvent& tasto);

    void collega_file();
    void scegli_file(bool salvare);
    void scegli_registro(bool acceso);
    void nomina_file(const QString& nome);
    void confronta_file();
    void scegli_esportazione();
    void scegli_foglio();
    void consegna_foglio(const QString& pdf);
    void ricorda_cartella(const QString& percorso);

    QWidget* campo(Campo c) const { return campi_[static_cast<std::size_t>(c)]; }
    QRadioButton* opzione(Opzione o) const { return opzioni_[static_cast<std::size_t>(o)]; }

    std::unique_ptr<Ui::Principale> ui_;
    Avvisi& avvisi_;
    std::array<QWidget*, numero_campi> campi_{};
    std::array<QRadioButton*, 8> opzioni_{};
    std::array<QLineEdit*, 4> digitati_{};
    std::array<QWidget*, 15> controllati_{};

    std::unique_ptr<Sessione> sessione_;
    SegnaliDiUscita segnali_;

    QTimer Tmr_scritte;
    RiposoCursore riposo_cursore_{this};
    std::optional<int> progresso_; // the value the bar shows next
    qint16 lunghezza_titolo_ = 0;
    bool caricata_ = false;
    bool supervisione_in_coda_ = false;
    QString nome_file_; // the parameter file last opened or saved
    bool file_in_finestra_ = false;
    QPushButton* parcheggio_ = nullptr; // where the supervision put the focus

    std::optional<QString> da_aprire_;
};

} // namespace brenk
