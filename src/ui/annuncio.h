// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The place over the progress bar where the window says how an operation
// went: a text on a coloured ground, inside the help line's frame, wrapped
// on two lines and drawn a little smaller where two lines of the window's
// font cannot hold it, never cut. Assistive technology meets it as a
// notification named by its text, and hears it once for each new text.

#include <QColor>
#include <QFrame>

#include <optional>
#include <utility>

namespace brenk {

class Annuncio : public QFrame {
    Q_OBJECT
public:
    explicit Annuncio(QWidget* parent = nullptr);

    // Shown on `sfondo` from the event loop, so that of the texts given in
    // one step only the last is shown and announced; an empty one hides the
    // place.
    void annuncia(const QString& testo, const QColor& sfondo);
    const QString& testo() const { return testo_; }

protected:
    void paintEvent(QPaintEvent* evento) override;

private:
    void mostra();

    QString testo_;
    std::optional<std::pair<QString, QColor>> in_coda_;
};

} // namespace brenk
