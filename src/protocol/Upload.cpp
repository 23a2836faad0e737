#include "Upload.h"

#include "ReplyNumber.h"

#include <algorithm>
#include <limits>

namespace tavrin::protocol {

using vocab::Attribute;

namespace {

constexpr int kMaxTimeoutSeconds = std::numeric_limits<qint16>::max();

QString clearLinkCommand(int id)
{
    return QStringLiteral("<link id=") + QString::number(id) + QStringLiteral(" cap=0>\r");
}

QString linkCommand(int id, const LinkRow &link)
{
    return QStringLiteral("<link id=") + QString::number(id) + QStringLiteral(" cap=")
        + link.capcode + QStringLiteral(" pr=") + QString::number(link.priority)
        + QStringLiteral(">\r");
}

bool isWholeSeconds(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    bool ok = false;
    const int seconds = text.toInt(&ok);
    return ok && seconds <= kMaxTimeoutSeconds;
}

} // namespace

UploadCommands uploadCommands(const SignConfig &config)
{
    UploadCommands commands;
    for (int n = 0; n < kRows; ++n) {
        const PriorityRow &row = config.rows[size_t(n)];
        commands[size_t(n)] = QStringLiteral("<DF pr=") + QString::number(n) + QStringLiteral(" f=")
            + QString::number(row.font) + QStringLiteral(" c=") + QString::number(row.color)
            + QStringLiteral(" s=") + QString::number(row.style) + QStringLiteral(" a=")
            + QString::number(row.alignment) + QStringLiteral(" sp=") + QString::number(row.speed)
            + QStringLiteral(" p=") + QString::number(row.pause) + QStringLiteral(" b=")
            + QString::number(row.beep) + QStringLiteral(" t=") + row.timeout
            + QStringLiteral(">\r");
    }
    commands[5]
        = config.autoID == 1 ? QStringLiteral("<id=auto>\r") : QStringLiteral("<id=user>\r");
    commands[6] = QStringLiteral("<UC>") + config.userCommand + u'\r';
    return commands;
}

std::optional<QString> timeoutProblem(const SignConfig &config)
{
    for (int n = 0; n < kRows; ++n) {
        if (!isWholeSeconds(config.rows[size_t(n)].timeout)) {
            return QStringLiteral("Timeout of Priority ") + QString::number(n)
                + QStringLiteral(" must be a whole number of seconds from 0 to ")
                + QString::number(kMaxTimeoutSeconds) + u'.';
        }
    }
    return std::nullopt;
}

int markChanges(const SignConfig &config, const SignImage &image, PendingFlags &flags)
{
    int count = 0;

    for (int n = 0; n < kRows; ++n) {
        const PriorityRow &row = config.rows[size_t(n)];
        for (Attribute attribute : kSignFieldOrder) {
            if (row.code(attribute) != image.codes(attribute)[size_t(n)])
                flags.row[size_t(n)] = true;
        }
        if (readNumber(row.timeout) != image.timeout[size_t(n)])
            flags.row[size_t(n)] = true;
    }

    for (int i = 0; i < kLinks; ++i) {
        const LinkRow &link = config.links[size_t(i)];
        if (link.capcode != image.capcode[size_t(i)]) {
            flags.link[size_t(i)] = true;
            ++count;
        }
        if (!link.capcode.isEmpty() && link.priority != -1
            && readNumber(image.linkPriority[size_t(i)]) != link.priority) {
            flags.link[size_t(i)] = true;
            ++count;
        }
    }

    if (config.userCommand != image.userCommand)
        flags.userCommand = true;

    count += int(std::count(flags.row.begin(), flags.row.end(), true));

    if (config.autoID != image.autoID) {
        flags.autoID = true;
        ++count;
    }

    if (flags.userCommand)
        ++count;
    return count;
}

void markAllPending(PendingFlags &flags)
{
    flags.row.fill(true);
    std::fill_n(flags.link.begin(), kLinks, true);
    flags.autoID = true;
    flags.userCommand = true;
}

int pendingCount(const PendingFlags &flags)
{
    return int(std::count(flags.row.begin(), flags.row.end(), true)
               + std::count(flags.link.begin(), flags.link.begin() + kLinks, true))
        + int(flags.autoID) + int(flags.userCommand);
}

void clearPending(PendingFlags &flags, const UploadItem &item)
{
    switch (item.kind) {
    case UploadItem::Kind::None:
        break;
    case UploadItem::Kind::Row:
        if (item.index >= 0 && item.index < kRows)
            flags.row[size_t(item.index)] = false;
        break;
    case UploadItem::Kind::AutoID:
        flags.autoID = false;
        break;
    case UploadItem::Kind::UserCommand:
        flags.userCommand = false;
        break;
    case UploadItem::Kind::Link:
        if (item.index >= 0 && item.index < kLinks)
            flags.link[size_t(item.index)] = false;
        break;
    }
}

QString uploadItemName(const UploadItem &item)
{
    switch (item.kind) {
    case UploadItem::Kind::None:
        break;
    case UploadItem::Kind::Row:
        return QStringLiteral("Priority ") + QString::number(item.index);
    case UploadItem::Kind::AutoID:
        return QStringLiteral("ID mode");
    case UploadItem::Kind::UserCommand:
        return QStringLiteral("User command");
    case UploadItem::Kind::Link:
        return QStringLiteral("Link ") + QString::number(item.index);
    }
    return {};
}

void confirmUploadItem(SignImage &image, PendingFlags &flags, const UploadItem &item,
                       const SignConfig &sent)
{
    const auto at = [](int index, int count) {
        return index >= 0 && index < count;
    };
    switch (item.kind) {
    case UploadItem::Kind::None:
        break;
    case UploadItem::Kind::Row:
        if (at(item.index, kRows)) {
            const auto n = size_t(item.index);
            for (Attribute attribute : kSignFieldOrder)
                image.codes(attribute)[n] = sent.rows[n].code(attribute);
            // timeoutProblem keeps texts that do not fit out of an upload.
            if (const auto seconds = roundToInt16(readNumber(sent.rows[n].timeout)))
                image.timeout[n] = *seconds;
        }
        break;
    case UploadItem::Kind::AutoID:
        image.autoID = Code(sent.autoID);
        break;
    case UploadItem::Kind::UserCommand:
        image.userCommand = sent.userCommand;
        break;
    case UploadItem::Kind::Link:
        if (at(item.index, kLinks)) {
            const auto i = size_t(item.index);
            const LinkRow &link = sent.links[i];
            image.capcode[i] = link.capcode;
            image.linkPriority[i]
                = link.capcode.isEmpty() ? QString() : QString::number(link.priority);
        }
        break;
    }
    clearPending(flags, item);
}

UploadStep nextUploadStep(SignConfig &config, const PendingFlags &flags,
                          const UploadCommands &commands, PendingFlags &taken)
{
    UploadStep step;
    const auto due = [](bool pending, bool &done) {
        if (!pending || done)
            return false;
        done = true;
        return true;
    };

    for (int n = 0; n < kRows; ++n) {
        if (due(flags.row[size_t(n)], taken.row[size_t(n)])) {
            step.item = { UploadItem::Kind::Row, n };
            step.first = commands[size_t(n)];
            return step;
        }
    }
    if (due(flags.autoID, taken.autoID)) {
        step.item = { UploadItem::Kind::AutoID };
        step.first = commands[5];
        return step;
    }
    if (due(flags.userCommand, taken.userCommand)) {
        step.item = { UploadItem::Kind::UserCommand };
        step.first = commands[6];
        return step;
    }

    for (int i = 0; i < kLinks; ++i) {
        if (!due(flags.link[size_t(i)], taken.link[size_t(i)]))
            continue;
        LinkRow &link = config.links[size_t(i)];
        step.item = { UploadItem::Kind::Link, i };
        step.first = clearLinkCommand(i);
        // A capcode that does not start with a number other than 0 clears the link: only
        // the clearing command goes out, and the row is emptied.
        if (readNumber(link.capcode) == 0) {
            link.capcode.clear();
            link.priority = -1;
        } else {
            if (link.priority < 0)
                link.priority = 0;
            step.pauseThenSecond = true;
            step.second = linkCommand(i, link);
        }
        step.link = link;
        return step;
    }

    step.finished = true;
    return step;
}

} // namespace tavrin::protocol
