#pragma once

#include "SignState.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace tavrin::signsim {

// The sign's command handling: one command in (without its "\r"), its reply lines out.
// Every command is applied to the state; malformed or out-of-range ones change nothing and
// answer "error".
class SignInterpreter
{
public:
    explicit SignInterpreter(QString model = QStringLiteral("KR4410"),
                             QString build = QStringLiteral("5"));

    QStringList handle(const QString &command);

    const QString &model() const { return m_model; }
    const SignState &state() const { return m_state; }
    void setState(SignState state) { m_state = std::move(state); }

private:
    // "<name key=value ...>body"
    struct Tag
    {
        QString name;
        QMap<QString, QString> attributes;
        QString body;
    };
    static std::optional<Tag> parseTag(const QString &command);

    QStringList handleTag(const Tag &tag);
    QStringList setPriorityRow(const Tag &tag);
    QStringList setDefaultMessage(const Tag &tag);
    QStringList setTimeDisplay(const Tag &tag);
    QStringList setClock(const Tag &tag);
    QStringList setLink(const Tag &tag);
    QStringList acceptTestMessage(const Tag &tag);

    QString m_model;
    QString m_build;
    SignState m_state;
};

} // namespace tavrin::signsim
