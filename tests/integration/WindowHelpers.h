#pragma once

#include <QCoreApplication>
#include <QWheelEvent>
#include <QWidget>

// One notch of the mouse wheel over a widget, as a pointer passing over it gives.
inline void turnWheel(QWidget *widget)
{
    const QPointF centre = QRectF(widget->rect()).center();
    QWheelEvent notch(centre, widget->mapToGlobal(centre), {}, { 0, -120 }, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(widget, &notch);
}
