// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/riposo_cursore.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QStyleHints>

namespace brenk {

namespace {

// A flash time of 0 keeps the caret drawn; -1 hands the rate back to the desktop.
constexpr int senza_lampeggio = 0;
constexpr int come_il_desktop = -1;

bool e_un_gesto(QEvent::Type tipo)
{
    switch (tipo) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::InputMethod:
        return true;
    default:
        return false;
    }
}

} // namespace

RiposoCursore::RiposoCursore(QObject* parent) : QObject(parent)
{
    attesa_.setSingleShot(true);
    attesa_.setInterval(attesa_predefinita);
    connect(&attesa_, &QTimer::timeout, this, &RiposoCursore::riposa);
    QCoreApplication::instance()->installEventFilter(this);
    attesa_.start();
}

RiposoCursore::~RiposoCursore()
{
    risveglia();
}

void RiposoCursore::imposta_attesa(std::chrono::milliseconds attesa)
{
    attesa_.setInterval(attesa);
    if (!a_riposo_)
        attesa_.start();
}

// Sees every event of the program before its receiver does, and lets it pass.
bool RiposoCursore::eventFilter(QObject* oggetto, QEvent* evento)
{
    if (e_un_gesto(evento->type())) {
        risveglia();
        attesa_.start();
    }
    return QObject::eventFilter(oggetto, evento);
}

void RiposoCursore::riposa()
{
    a_riposo_ = true;
    QGuiApplication::styleHints()->setCursorFlashTime(senza_lampeggio);
}

void RiposoCursore::risveglia()
{
    if (!a_riposo_)
        return;
    a_riposo_ = false;
    QGuiApplication::styleHints()->setCursorFlashTime(come_il_desktop);
}

} // namespace brenk
