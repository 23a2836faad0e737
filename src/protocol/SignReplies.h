#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace tavrin::protocol {

// What the sign answers to each command when it has carried it out. This is the one place
// that says which reply confirms which command; every sender asks it.
//
//   command                         confirmed by
//   DOWNLOAD_ALL                    a whole configuration line (isWholeConfigurationLine)
//   DOWNLOAD_DEFAULT_MSG            a whole default-message record (isWholeDefaultRecord)
//   TIME_STATUS                     "TIME:STATUS:1" or "TIME:STATUS:0"
//   RESET                           "reset"
//   <DF pr=...>, <FD>, <id=N ...>   "done"
//   <TIME f=...>IDLE ON             "done"
//   <DF f=...>message               "default msg" or "done"
//   <del id=def>                    "default deleted"
//   <link id=N cap=0>               "delinked"
//   <link id=N cap=C pr=P>          "linked N"
//   <id=auto>, <id=user>            "Auto ID", "User ID"
//   <UC>text                        "user cmd"
//   <Time time=...>SET TIME         "SET TIME OK"
//   <TIME>IDLE ON, <TIME>IDLE OFF,  nothing: the sign never answers these, so they count as
//   a bare "\r"                      confirmed once written
//   anything else                   any line but "error"
//
// Words are compared without regard to letter case and a trailing carriage return (a sign
// that ends its lines with CR LF). "error" refuses whatever command it answers.
struct Expectation
{
    enum class Kind {
        ConfigurationLine,
        DefaultRecord,
        TimeStatus,
        Word, // the whole line is `word`
        Linked, // "linked" and the link ID
        None, // the sign does not answer
        AnyReply,
    };
    Kind kind = Kind::AnyReply;
    QStringList words; // for Word: any of these
    int linkId = -1;
};

Expectation expectationFor(QStringView command);

enum class Verdict { Unrelated, Confirms, Refuses };
Verdict judge(const Expectation &expectation, QStringView line);

// The line without a trailing carriage return.
QStringView withoutCarriageReturn(QStringView line);
bool isRefusal(QStringView line);

// A configuration line the reader can take whole: a head, ":" and the 90 fields of the data
// part (more when the user command holds ","), numbers where numbers belong, no control
// characters. A reply cut short or garbled on the line fails this and is not read at all.
bool isWholeConfigurationLine(QStringView line);
// The same for the default-message record: a head, ":" and nine fields, the six codes numbers.
bool isWholeDefaultRecord(QStringView line);

// A line from the sign with the command it answered, as the exchange paired them. command is
// empty when the line answered nothing outstanding.
struct SignAnswer
{
    QString line;
    QString command; // as written, its "\r" included
    Verdict verdict = Verdict::Unrelated;

    bool confirms() const { return verdict == Verdict::Confirms; }
    // The line as the exchange pairs it while outstanding is the one command waiting.
    static SignAnswer paired(const QString &line, const QString &outstanding);
};

} // namespace tavrin::protocol
