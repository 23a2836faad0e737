#pragma once

#include "Vocabulary.h"

#include <QString>

#include <array>

namespace tavrin::protocol {

// An attribute code: a list position, -1 when the list has nothing selected.
using Code = qint16;

inline constexpr int kRows = vocab::kPriorityCount; // priority rows 0-4
inline constexpr int kLinks = vocab::kLinkCount; // link IDs 0-7
inline constexpr int kImageLinks = 9; // the image tables have room for ID 8

// The order of a priority's attribute codes in the sign's records: its configuration line,
// its priority command and its default-message record (which has no beep).
inline constexpr std::array kSignFieldOrder
    = { vocab::Attribute::Font,  vocab::Attribute::Style,     vocab::Attribute::Color,
        vocab::Attribute::Speed, vocab::Attribute::Alignment, vocab::Attribute::Pause,
        vocab::Attribute::Beep };

// The display attributes of a priority or a message, as list positions.
struct Attributes
{
    Code font = -1;
    Code style = -1;
    Code color = -1;
    Code speed = -1;
    Code alignment = -1;
    Code pause = -1;
    Code beep = -1;

    Code code(vocab::Attribute attribute) const;
    Code &code(vocab::Attribute attribute);
    friend bool operator==(const Attributes &, const Attributes &) = default;
};

// One priority row of the sign's configuration.
struct PriorityRow : Attributes
{
    QString timeout; // seconds, as typed

    friend bool operator==(const PriorityRow &, const PriorityRow &) = default;
};

// One row of the link table: the capcodes bound to a link ID and their priority.
struct LinkRow
{
    QString capcode; // several capcodes joined by ","
    Code priority = -1; // index of Pri0(i)
    friend bool operator==(const LinkRow &, const LinkRow &) = default;
};

// The configuration of one sign.
struct SignConfig
{
    std::array<PriorityRow, kRows> rows;
    std::array<LinkRow, kLinks> links;
    int autoID = 0; // AutoID check box: 1 ticked (auto ID), 0 clear (user ID)
    QString userCommand;
    friend bool operator==(const SignConfig &, const SignConfig &) = default;
};

// What the window last knew to be on the sign; all zero or empty at start.
struct SignImage
{
    std::array<Code, kRows> font {};
    std::array<Code, kRows> style {};
    std::array<Code, kRows> color {};
    std::array<Code, kRows> speed {};
    std::array<Code, kRows> alignment {};
    std::array<Code, kRows> pause {};
    std::array<Code, kRows> beep {};
    std::array<Code, kRows> timeout {}; // seconds
    std::array<QString, kImageLinks> capcode;
    std::array<QString, kImageLinks> linkPriority; // list index as decimal text
    Code autoID = 0;
    QString userCommand;

    // The per-row codes of one list attribute.
    std::array<Code, kRows> &codes(vocab::Attribute attribute);
    const std::array<Code, kRows> &codes(vocab::Attribute attribute) const;
    friend bool operator==(const SignImage &, const SignImage &) = default;
};

// Items waiting to be sent by the next upload.
struct PendingFlags
{
    std::array<bool, kRows> row {};
    std::array<bool, kImageLinks> link {};
    bool autoID = false;
    bool userCommand = false;
    friend bool operator==(const PendingFlags &, const PendingFlags &) = default;
};

} // namespace tavrin::protocol
