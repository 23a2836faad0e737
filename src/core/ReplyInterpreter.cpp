#include "ReplyInterpreter.h"

#include "ConfigurationLine.h"
#include "UploadProgress.h"

#include <QList>
#include <QStringView>

#include <algorithm>
#include <array>
#include <optional>

namespace tavrin::core {

using vocab::Attribute;

namespace {

bool containsWord(QStringView line, QStringView word)
{
    return line.contains(word, Qt::CaseInsensitive);
}

bool isWord(QStringView line, QStringView word)
{
    return line.compare(word, Qt::CaseInsensitive) == 0;
}

// A missing text leaves the previous caption, but the label is still shown and timed.
void showStatus(ReplyOutcome &outcome, const std::optional<QString> &text)
{
    if (text)
        outcome.state.status = *text;
    outcome.state.statusVisible = true;
    outcome.statusShown = true;
}

std::optional<QString> secondWord(QStringView line)
{
    const QList<QStringView> words = line.split(u' ');
    if (words.size() < 2)
        return std::nullopt;
    return words.at(1).toString();
}

std::optional<QString> prefixed(const QString &prefix, const std::optional<QString> &word)
{
    if (!word)
        return std::nullopt;
    return prefix + *word;
}

void applyModelProfile(MainState &state, const QString &model)
{
    state.profile = vocab::mainProfile(model);
    for (PriorityRow &row : state.config.rows) {
        for (Attribute attribute : vocab::kAttributes)
            row.code(attribute) = -1;
    }
}

void readProfiles(const protocol::ConfigurationLine &line,
                  const std::array<PriorityRow, kRows> &previous, MainState &state)
{
    for (int k = 0; k < kRows; ++k) {
        for (Attribute attribute : protocol::kSignFieldOrder) {
            // A field the line does not reach (or that does not fit 16 bits) keeps what the
            // list showed before the profile was re-applied, and the image keeps its value.
            if (const auto code = line.code(k, attribute)) {
                state.image.codes(attribute)[size_t(k)] = *code;
                state.selectRowCode(k, attribute, *code);
            } else {
                state.selectRowCode(k, attribute, previous[size_t(k)].code(attribute));
            }
        }
        if (const auto timeout = line.timeoutSeconds(k)) {
            state.image.timeout[size_t(k)] = *timeout;
            state.config.rows[size_t(k)].timeout = QString::number(*timeout);
        }
    }
}

void readLinks(const protocol::ConfigurationLine &line, MainState &state)
{
    // A line that stops before the link table leaves the link rows as they are.
    if (!line.reachesLinks())
        return;

    // The image is cleared with the rows: a link ID the sign no longer reports is not on the
    // sign, and the controls and the image must agree after a download.
    for (int i = 0; i < kLinks; ++i) {
        state.config.links[size_t(i)] = LinkRow {};
        state.image.capcode[size_t(i)].clear();
        state.image.linkPriority[size_t(i)].clear();
    }

    for (const protocol::LinkEntry &entry : line.linkEntries()) {
        if (entry.capcode == u"0" || entry.id < 0 || entry.id >= kLinks)
            continue;
        LinkRow &row = state.config.links[size_t(entry.id)];
        if (row.capcode.isEmpty())
            row.capcode = entry.capcode;
        else
            row.capcode += u',' + entry.capcode;
        state.image.capcode[size_t(entry.id)] = row.capcode;
        if (entry.priority) {
            state.selectLinkPriority(entry.id, *entry.priority);
            state.image.linkPriority[size_t(entry.id)] = entry.priorityText;
        }
    }
}

void readConfiguration(QStringView body, ReplyOutcome &outcome)
{
    MainState &state = outcome.state;
    const protocol::ConfigurationLine line(body);

    if (const auto build = line.firmwareBuild()) {
        state.modelLabel = line.model();
        state.firmwareCount = *build;
        state.firmwareCountToolTip = QStringLiteral("Firmware Count");
    } else {
        state.modelLabel = line.head();
        state.firmwareCount = kFirmwareCountNotAvailable;
        state.firmwareCountToolTip
            = QStringLiteral("Firmware Count is available in version 3.9 and above");
    }
    outcome.firmwareCountSet = true;
    outcome.showPriority = !state.modelLabel.isEmpty();

    state.modelNumber = line.model();
    const std::array<PriorityRow, kRows> previous = state.config.rows;
    applyModelProfile(state, state.modelNumber);
    outcome.profileApplied = true;

    readProfiles(line, previous, state);
    readLinks(line, state);

    // Without field 88 the ID mode is not known: the check box and its image stay.
    if (const auto autoID = line.autoId()) {
        state.config.autoID = *autoID ? 1 : 0;
        state.image.autoID = Code(state.config.autoID);
        state.testLabel
            = *autoID ? QStringLiteral("Auto ID True") : QStringLiteral("Auto ID False");
    }

    state.flags.row.fill(false);
    std::fill_n(state.flags.link.begin(), kLinks, false);

    if (const auto command = line.userCommand()) {
        state.config.userCommand = *command;
        state.image.userCommand = *command;
    }
}

} // namespace

ReplyOutcome parseSignReply(const QString &line, const MainState &state, bool answersDownload)
{
    ReplyOutcome outcome { state };
    if (line.isEmpty())
        return outcome;

    // The whole-line tests see a trailing CR (a CR LF sign fails them), but what is taken out
    // of a line - a status word, the last configuration field - never keeps it.
    QStringView body(line);
    if (body.endsWith(u'\r'))
        body.chop(1);

    if (answersDownload) {
        readConfiguration(body, outcome);
    } else if (containsWord(line, u"done")) {
        // Whole steps: the bar's capped last value (1 + 20 x steps) still reads as the count.
        showStatus(outcome,
                   QStringLiteral("Uploaded ")
                       + QString::number(state.progressValue / kUploadProgressStep)
                       + QStringLiteral(" Successfull"));
    } else if (containsWord(line, u"default")) {
        showStatus(outcome, prefixed(QStringLiteral("Default Uploaded : "), secondWord(body)));
    } else if (isWord(line, u"delinked")) {
        // The sign confirms a clearing command; nothing to show.
    } else if (containsWord(line, u"linked")) {
        showStatus(outcome, prefixed(QStringLiteral("Linked ID : "), secondWord(body)));
    } else if (isWord(line, u"user cmd")) {
        showStatus(outcome, QStringLiteral("User Command Uploaded"));
    } else if (isWord(line, u"Auto ID")) {
        showStatus(outcome, QStringLiteral("Switched to Auto ID"));
    } else if (isWord(line, u"User ID")) {
        showStatus(outcome, QStringLiteral("Switched to User ID"));
    }
    // "error" and anything else show nothing here: the sender tells what was not confirmed.
    return outcome;
}

} // namespace tavrin::core
