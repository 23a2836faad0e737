#pragma once

#include "SignConfig.h"

#include <QString>

#include <array>
#include <optional>

namespace tavrin::protocol {

// The sign's stored default message as its record gives it ("MODEL:f,s,c,sp,a,p,x,x,text"):
// list indexes and text, each present only when the record holds a readable field for it.
struct DefaultMessageRecord
{
    static constexpr int kCodeCount = 6; // the first six of kSignFieldOrder: no beep

    QString model;
    std::array<std::optional<Code>, kCodeCount> codes; // in kSignFieldOrder
    std::optional<QString> text; // line breaks as CR LF, times as their placeholders

    friend bool operator==(const DefaultMessageRecord &, const DefaultMessageRecord &) = default;
};

// Decodes a record line. Only the text between the first and the second ":" is read; the
// text field ends at its ",". A KR4410 sends the six numbers as character codes ('@' is
// font 0, 'A' style and colour 0, '0' speed and pause 0, '1' alignment 0).
DefaultMessageRecord decodeDefaultMessageRecord(const QString &line);

} // namespace tavrin::protocol
