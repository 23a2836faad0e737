#pragma once

#include "MessagePort.h"

#include <QString>

#include <utility>

namespace tavrin::editors {

// What both message windows show alike: the port's progress, the Ack label, the computer's
// clock, the unsendable-character warning and the send buttons, whose captions each window
// names.
struct MessageWindowState : PortActivity
{
    MessageWindowState(QString downloadCaption, QString uploadCaption)
        : downloadCaption(std::move(downloadCaption))
        , uploadCaption(std::move(uploadCaption))
    {
    }

    QString ack;
    QString dateTime;
    QString unsendable; // names a character the sign cannot get, while there is one

    QString downloadCaption;
    QString uploadCaption;
    bool downloadEnabled = true;
    bool uploadEnabled = true;
    bool setTimeEnabled = true;
};

} // namespace tavrin::editors
