// SPDX-License-Identifier: GPL-3.0-or-later
#include "trasmettitore.h"

#include "params/blocco.h"
#include "params/fabbrica.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace brenk {

namespace {

// Every one-byte reply made once: a reply then costs no allocation.
QByteArray un_byte(std::uint8_t valore)
{
    static const auto tutti = [] {
        std::array<QByteArray, 256> t;
        for (std::size_t v = 0; v < t.size(); ++v)
            t[v] = QByteArray(1, static_cast<char>(v));
        return t;
    }();
    return tutti[valore];
}

} // namespace

Memoria memoria_predefinita(Contenuto contenuto)
{
    Memoria memoria{};
    switch (contenuto) {
    case Contenuto::Zeri:
        break;
    case Contenuto::UHF:
        memoria = blocco_fabbrica(Banda::UHF);
        break;
    case Contenuto::VHF:
        memoria = blocco_fabbrica(Banda::VHF);
        break;
    case Contenuto::Vecchio:
        memoria = blocco_fabbrica(Banda::UHF);
        memoria[Tipo_brenk] = 0;
        memoria[totck] = 7; // anything but the block's checksum, 142
        break;
    }
    return memoria;
}

std::optional<Memoria> memoria_da_file(const QString& percorso, QString* errore)
{
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly)) {
        if (errore != nullptr)
            *errore = QStringLiteral("%1: %2").arg(percorso, file.errorString());
        return std::nullopt;
    }
    const QByteArray dati = file.read(dimensione_blocco + 1);
    if (dati.size() != dimensione_blocco) {
        if (errore != nullptr)
            *errore = QStringLiteral("%1: servono esattamente %2 byte").arg(percorso).arg(dimensione_blocco);
        return std::nullopt;
    }
    Memoria memoria{};
    std::memcpy(memoria.data(), dati.constData(), memoria.size());
    return memoria;
}

Trasmettitore::Trasmettitore(const OpzioniSimulatore& opzioni, Orologio& orologio, std::function<bool()> in_ascolto,
                             QObject* parent)
    : QObject(parent),
      opzioni_(opzioni),
      orologio_(orologio),
      in_ascolto_(std::move(in_ascolto)),
      memoria_(opzioni.memoria),
      annunci_(orologio.sveglia()),
      rumore_(orologio.sveglia()),
      ritardi_(orologio.sveglia()),
      lenta_(orologio.sveglia())
{
    connect(annunci_.get(), &Sveglia::suonata, this, &Trasmettitore::annuncia);
    connect(rumore_.get(), &Sveglia::suonata, this, &Trasmettitore::disturba);
    connect(ritardi_.get(), &Sveglia::suonata, this, &Trasmettitore::invia_in_ritardo);
    connect(lenta_.get(), &Sveglia::suonata, this, &Trasmettitore::risposta_lenta_pronta);
}

Trasmettitore::~Trasmettitore() = default;

double Trasmettitore::ms() const
{
    return orologio_.adesso_ms() - inizio_ms_;
}

void Trasmettitore::avvia()
{
    if (ricevuti_.isEmpty() && !attivo_)
        inizio_ms_ = orologio_.adesso_ms();
    attivo_ = true;
    entra(Stato::Annuncio);
}

void Trasmettitore::ferma()
{
    attivo_ = false;
    in_ritardo_.clear();
    ritardi_->ferma();
    in_coda_.clear();
    lenta_->ferma();
    entra(Stato::Annuncio);
}

void Trasmettitore::entra(Stato stato)
{
    const bool era_collegato = collegato();
    stato_ = stato;
    arma_annuncio();
    arma_rumore();
    if (collegato() != era_collegato)
        emit stato_collegamento(collegato());
}

// Not linked, "K" goes out every interval. Linked, only with the fault, and
// then each byte from the PC puts the next one off by a whole interval.
void Trasmettitore::arma_annuncio()
{
    const bool annuncia = attivo_ && !opzioni_.mai_k && (!collegato() || opzioni_.annunci_da_collegato);
    if (!annuncia)
        annunci_->ferma();
    else if (collegato() || !annunci_->attiva())
        annunci_->avvia(opzioni_.intervallo_annunci_ms);
}

void Trasmettitore::arma_rumore()
{
    const bool in_scrittura = !opzioni_.rumore_da_scrittura || scritture_ > 0;
    if (!attivo_ || !collegato() || !opzioni_.rumore_ogni_ms || !in_scrittura)
        rumore_->ferma();
    else if (!rumore_->attiva())
        rumore_->avvia(*opzioni_.rumore_ogni_ms);
}

// Nobody hears an announcement while no port is open on the line.
void Trasmettitore::annuncia()
{
    annunci_->avvia(opzioni_.intervallo_annunci_ms);
    if (in_ascolto_())
        emetti(opzioni_.spazzatura + 'K');
}

void Trasmettitore::disturba()
{
    rumore_->avvia(*opzioni_.rumore_ogni_ms);
    if (in_ascolto_())
        emetti(QByteArray(1, static_cast<char>(opzioni_.byte_rumore)));
}

void Trasmettitore::ricevi(std::uint8_t byte)
{
    const double istante = ms();
    ricevuti_.append({byte, istante});
    emit ricevuto(byte, istante);
    arma_annuncio();
    if (attivo_ && !collegato() && !opzioni_.mai_k && opzioni_.annuncio_dopo_silenzio_ms)
        annunci_->avvia(*opzioni_.annuncio_dopo_silenzio_ms);
    if (opzioni_.riaggancia_dopo == ricevuti_.size()) {
        emit riaggancio();
        return;
    }
    if (opzioni_.eco)
        emetti(QByteArray(1, static_cast<char>(byte)));
    if (lenta_->attiva())
        in_coda_.push_back(byte);
    else
        elabora(byte);
}

void Trasmettitore::elabora(std::uint8_t byte)
{
    switch (stato_) {
    case Stato::Annuncio:
        if (byte == 'L' && ++l_ricevute_ > opzioni_.l_non_sentite)
            entra(Stato::Comando);
        break;
    case Stato::Comando:
        comando(byte);
        break;
    case Stato::IndirizzoLettura:
        entra(Stato::Comando);
        leggi(byte);
        break;
    case Stato::IndirizzoScrittura:
        indirizzo_ = byte;
        entra(Stato::ValoreScrittura);
        if (opzioni_.k_dopo_indirizzo)
            emetti("K");
        break;
    case Stato::ValoreScrittura:
        entra(Stato::Comando);
        scrivi(indirizzo_, byte);
        break;
    }
}

void Trasmettitore::comando(quint8 lettera)
{
    switch (lettera) {
    case 'R':
        entra(Stato::IndirizzoLettura);
        break;
    case 'W':
        entra(Stato::IndirizzoScrittura);
        break;
    case 'Q':
        ++trasmissioni_;
        emit trasmissione();
        entra(Stato::Annuncio);
        break;
    case 'E':
        entra(Stato::Annuncio);
        break;
    default:
        emit ignorato(lettera);
    }
}

void Trasmettitore::leggi(quint8 indirizzo)
{
    quint8 valore = indirizzo < memoria_.size() ? memoria_[indirizzo] : 0;
    if (indirizzo == totck && opzioni_.checksum_errato)
        ++valore;
    if (opzioni_.risposta_colpita == letture_)
        valore ^= 0x10;
    QByteArray risposta = un_byte(valore);
    if (opzioni_.extra_dopo == letture_)
        risposta.append(static_cast<char>(opzioni_.byte_extra));
    ++letture_;
    rispondi(risposta, opzioni_.ritardi_indirizzo.value(indirizzo, 0));
    if (opzioni_.rimbalzi.contains(indirizzo))
        invia_dopo(risposta, opzioni_.rimbalzi.value(indirizzo) + opzioni_.ritardi_indirizzo.value(indirizzo, 0));
    if (opzioni_.reset_dopo_letture == letture_)
        entra(Stato::Annuncio);
}

void Trasmettitore::scrivi(quint8 indirizzo, quint8 valore)
{
    const int numero = scritture_++;
    arma_rumore();
    if (opzioni_.conferme_max && scritture_ > *opzioni_.conferme_max) {
        rispondi({});
        return;
    }
    if (indirizzo < memoria_.size() && opzioni_.scrittura_persa != numero)
        memoria_[indirizzo] = opzioni_.indirizzo_guasto == indirizzo ? static_cast<quint8>(valore + 1) : valore;
    const QByteArray conferma = opzioni_.k_dopo_indirizzo ? QByteArray()
                                : opzioni_.k_minuscola    ? QByteArrayLiteral("k")
                                                          : QByteArrayLiteral("K");
    rispondi(conferma, opzioni_.conferme_ritardate.value(numero, 0));
    if (opzioni_.reset_dopo_conferme == ++conferme_)
        entra(Stato::Annuncio);
}

void Trasmettitore::rispondi(const QByteArray& risposta, int ritardo_ms)
{
    const QByteArray r = opzioni_.risposte_sostituite.value(risposte_++, risposta);
    if (opzioni_.ritardo_risposte_ms <= 0) {
        invia_dopo(r, ritardo_ms);
        return;
    }
    risposta_lenta_ = r;
    lenta_->avvia(opzioni_.ritardo_risposte_ms);
}

void Trasmettitore::risposta_lenta_pronta()
{
    emetti(risposta_lenta_);
    while (!lenta_->attiva() && !in_coda_.empty()) {
        const std::uint8_t byte = in_coda_.front();
        in_coda_.pop_front();
        elabora(byte);
    }
}

void Trasmettitore::emetti(const QByteArray& byte)
{
    if (!opzioni_.bit7_perso) {
        emit invia(byte);
        return;
    }
    QByteArray senza_bit7 = byte;
    for (char& c : senza_bit7)
        c = static_cast<char>(c & 0x7F);
    emit invia(senza_bit7);
}

void Trasmettitore::invia_dopo(const QByteArray& byte, int ritardo_ms)
{
    if (ritardo_ms <= 0) {
        emetti(byte);
        return;
    }
    const double quando = orologio_.adesso_ms() + ritardo_ms;
    const auto dopo = std::upper_bound(in_ritardo_.begin(), in_ritardo_.end(), quando,
                                       [](double q, const InRitardo& r) { return q < r.quando; });
    in_ritardo_.insert(dopo, {quando, byte});
    arma_ritardi();
}

void Trasmettitore::arma_ritardi()
{
    if (in_ritardo_.empty()) {
        ritardi_->ferma();
        return;
    }
    const double attesa = in_ritardo_.front().quando - orologio_.adesso_ms();
    ritardi_->avvia(std::max(0, static_cast<int>(std::ceil(attesa))));
}

void Trasmettitore::invia_in_ritardo()
{
    while (!in_ritardo_.empty() && in_ritardo_.front().quando <= orologio_.adesso_ms()) {
        const QByteArray byte = in_ritardo_.front().byte;
        in_ritardo_.pop_front();
        emetti(byte);
    }
    arma_ritardi();
}

} // namespace brenk
