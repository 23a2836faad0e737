#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace tavrin::signsim {

class SignInterpreter;

// A sign that goes wrong on purpose at chosen commands, for fault tests and for trying a
// client against a bad sign. Commands are counted from 1 in the order received, every framed
// command counting, a bare "\r" too.
class Misbehaviour
{
public:
    // One option's value, the option named without its "--": answer ("N:LINE", LINE with
    // \xHH and \\ escapes; repeated for one N, the lines go out in order), answer-every,
    // refuse (a command number or the text a command starts with), cut-config, die-after.
    // False, with the reason in *error, for a malformed value.
    bool set(const QString &option, const QString &value, QString *error);

    struct Outcome
    {
        QByteArrayList replies; // lines to send, without their line end
        QStringList notes; // what went wrong on purpose, for the log
        bool powerFails = false; // the sign dies now, answering nothing
    };
    // The next command, without its "\r": handed to the sign unless it is misheard or refused.
    Outcome handle(SignInterpreter &sign, const QByteArray &command);

private:
    bool isRefused(QByteArrayView text) const; // the command as the sign reads it

    int m_received = 0;
    QMap<int, QByteArrayList> m_answers;
    int m_answerEvery = 1;
    QList<int> m_refusedNumbers;
    QByteArrayList m_refusedPrefixes;
    int m_cutConfiguration = 0; // data fields kept; 0: the whole line
    int m_dieAfter = 0; // 0: never
};

} // namespace tavrin::signsim
