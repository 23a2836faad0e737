#include "ReplyInterpreter.h"

#include "ReplyNumber.h"
#include "UploadProgress.h"

#include <QList>
#include <QStringView>

#include <array>
#include <optional>

namespace tavrin::core {

using protocol::readNumber;
using protocol::roundToInt16;

using vocab::Attribute;

namespace {

constexpr int kProfileFields = 8; // seven codes and the timeout per priority
constexpr int kLinkFieldsStart = kRows * kProfileFields;
constexpr int kLinkEntries = 16;
constexpr int kLinkEntryFields = 3; // link ID, capcode, priority
constexpr int kIdModeField = kLinkFieldsStart + kLinkEntries * kLinkEntryFields; // 88
constexpr int kUserCommandField = kIdModeField + 1;
constexpr int kTimeoutDivisor = 5;
constexpr double kFirstInvalidLinkPriority = 5;

// Order of a profile's codes in the line; the timeout follows them.
constexpr std::array kFieldAttributes
    = { Attribute::Font,      Attribute::Style, Attribute::Color, Attribute::Speed,
        Attribute::Alignment, Attribute::Pause, Attribute::Beep };

// KR4410 and TM207 send the first six codes as character codes ('A' = 65, '0' = 48).
constexpr std::array<double, 7> kCharacterOffsets = { 64, 65, 65, 48, 49, 48, 20 };
constexpr std::array<double, 7> kPlainOffsets = { 0, 0, 0, 0, 0, 0, 20 };

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

void readProfiles(const QList<QStringView> &fields, const std::array<PriorityRow, kRows> &previous,
                  MainState &state)
{
    const bool characterCodes
        = state.modelNumber == vocab::kModelKR4410 || state.modelNumber == vocab::kModelTM207;
    const auto &offsets = characterCodes ? kCharacterOffsets : kPlainOffsets;
    const auto decode = [&](int field, int offset) -> std::optional<Code> {
        if (field >= fields.size())
            return std::nullopt;
        const double number = readNumber(fields.at(field));
        return roundToInt16(offset < int(offsets.size()) ? number - offsets[size_t(offset)]
                                                         : number / kTimeoutDivisor);
    };

    for (int k = 0; k < kRows; ++k) {
        const int first = k * kProfileFields;
        for (size_t j = 0; j < kFieldAttributes.size(); ++j) {
            const Attribute attribute = kFieldAttributes[j];
            // A field the line does not reach (or that does not fit 16 bits) keeps what the
            // list showed before the profile was re-applied, and the image keeps its value.
            if (const auto code = decode(first + int(j), int(j))) {
                state.image.codes(attribute)[size_t(k)] = *code;
                state.selectRowCode(k, attribute, *code);
            } else {
                state.selectRowCode(k, attribute, previous[size_t(k)].code(attribute));
            }
        }
        if (const auto timeout = decode(first + kProfileFields - 1, kProfileFields - 1)) {
            state.image.timeout[size_t(k)] = *timeout;
            state.config.rows[size_t(k)].timeout = QString::number(*timeout);
        }
    }
}

void readLinks(const QList<QStringView> &fields, MainState &state)
{
    // A line that stops before the link table leaves the link rows as they are.
    if (fields.size() <= kLinkFieldsStart)
        return;

    // The image is cleared with the rows: a link ID the sign no longer reports is not on the
    // sign, and the controls and the image must agree after a download.
    for (int i = 0; i < kLinks; ++i) {
        state.config.links[size_t(i)] = LinkRow {};
        state.image.capcode[size_t(i)].clear();
        state.image.linkPriority[size_t(i)].clear();
    }

    for (int n = 0; n < kLinkEntries; ++n) {
        const int base = kLinkFieldsStart + n * kLinkEntryFields;
        if (base + 1 >= fields.size())
            break;
        const QStringView capcode = fields.at(base + 1);
        if (capcode == u"0")
            continue;
        bool ok = false;
        const int id = fields.at(base).trimmed().toInt(&ok);
        if (!ok || id < 0 || id >= kLinks)
            continue;

        LinkRow &row = state.config.links[size_t(id)];
        if (row.capcode.isEmpty())
            row.capcode = capcode.toString();
        else
            row.capcode += u',' + capcode;
        state.image.capcode[size_t(id)] = row.capcode;

        if (base + 2 >= fields.size())
            continue;
        const QStringView priority = fields.at(base + 2);
        const double number = readNumber(priority);
        if (number < kFirstInvalidLinkPriority) {
            if (const auto code = roundToInt16(number)) {
                state.selectLinkPriority(id, *code);
                state.image.linkPriority[size_t(id)] = priority.toString();
            }
        }
    }
}

void readConfiguration(QStringView body, ReplyOutcome &outcome)
{
    MainState &state = outcome.state;

    const qsizetype colon = body.indexOf(u':');
    QString head = body.left(colon).toString();
    QStringView data = body.mid(colon + 1);
    if (const qsizetype end = data.indexOf(u':'); end >= 0)
        data = data.left(end);

    head.remove(QStringLiteral("DOWNLOAD_ALL"), Qt::CaseSensitive);
    const QStringList headFields = head.split(u',');
    if (headFields.size() < 2) {
        state.modelLabel = head;
        state.firmwareCount = kFirmwareCountNotAvailable;
        state.firmwareCountToolTip
            = QStringLiteral("Firmware Count is available in version 3.9 and above");
    } else {
        state.modelLabel = headFields.at(0);
        state.firmwareCount = headFields.at(1);
        state.firmwareCountToolTip = QStringLiteral("Firmware Count");
    }
    outcome.firmwareCountSet = true;
    outcome.showPriority = !state.modelLabel.isEmpty();

    // An empty data part has no fields at all, not one empty field.
    const QList<QStringView> fields = data.isEmpty() ? QList<QStringView> {} : data.split(u',');

    state.modelNumber = headFields.at(0);
    const std::array<PriorityRow, kRows> previous = state.config.rows;
    applyModelProfile(state, state.modelNumber);
    outcome.profileApplied = true;

    readProfiles(fields, previous, state);
    readLinks(fields, state);

    // Without field 88 the ID mode is not known: the check box and its image stay.
    if (fields.size() > kIdModeField) {
        const bool autoID = fields.at(kIdModeField) == u"1";
        state.config.autoID = autoID ? 1 : 0;
        state.image.autoID = Code(state.config.autoID);
        state.testLabel = autoID ? QStringLiteral("Auto ID True") : QStringLiteral("Auto ID False");
    }

    for (int k = 0; k < kRows; ++k)
        state.flags.row[size_t(k)] = false;
    for (int i = 0; i < kLinks; ++i)
        state.flags.link[size_t(i)] = false;

    if (fields.size() > kUserCommandField) {
        state.config.userCommand = fields.at(kUserCommandField).toString();
        state.image.userCommand = state.config.userCommand;
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
