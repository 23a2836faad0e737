#pragma once

#include "SignConfig.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace tavrin::protocol {

// The layout of the sign's answer to DOWNLOAD_ALL: "MODEL[,BUILD]:" then five priorities of
// seven codes (kSignFieldOrder) and a timeout, sixteen link entries of ID, capcode and
// priority, the ID mode and the user command, all joined by ",".
namespace configuration {
inline constexpr int kPriorityFields = 8; // seven codes and the timeout
inline constexpr int kLinkFieldsStart = kRows * kPriorityFields; // 40
inline constexpr int kLinkEntries = 16;
inline constexpr int kLinkEntryFields = 3; // link ID, capcode, priority
inline constexpr int kIdModeField = kLinkFieldsStart + kLinkEntries * kLinkEntryFields; // 88
inline constexpr int kUserCommandField = kIdModeField + 1;
inline constexpr int kFieldCount = kUserCommandField + 1; // 90
} // namespace configuration

// One link entry of the line; capcode "0" marks an unused entry.
struct LinkEntry
{
    int id = -1;
    QString capcode;
    std::optional<Code> priority; // only when its field reads as a priority 0-4
    QString priorityText; // as the line has it
};

// Reads the fields of a configuration line. A field the line does not reach reads as
// nothing, and the reader of the line keeps what it had.
class ConfigurationLine
{
public:
    // body: the line without its line feed or trailing CR.
    explicit ConfigurationLine(QStringView body);

    // The head before ":" without "DOWNLOAD_ALL": the model, and the firmware build after
    // a "," when the sign reports one.
    const QString &head() const { return m_head; }
    QString model() const { return m_headFields.at(0); }
    std::optional<QString> firmwareBuild() const;

    int fieldCount() const { return int(m_fields.size()); }
    // KR4410 and TM207 send a priority's six display codes as characters ('A' = 65, '0' = 48).
    static bool sendsCharacterCodes(const QString &model);
    std::optional<Code> code(int row, vocab::Attribute attribute) const;
    std::optional<Code> timeoutSeconds(int row) const;
    bool reachesLinks() const { return fieldCount() > configuration::kLinkFieldsStart; }
    // The entries in line order, with a number for an ID (not checked against the table).
    QList<LinkEntry> linkEntries() const;
    std::optional<bool> autoId() const;
    std::optional<QString> userCommand() const;

private:
    std::optional<Code> decode(int field, int order) const;

    QString m_body;
    QString m_head;
    QStringList m_headFields;
    QList<QStringView> m_fields;
    bool m_characterCodes = false;
};

} // namespace tavrin::protocol
