#include "SignConfig.h"

namespace tavrin::protocol {

using vocab::Attribute;

namespace {

// A row and the image name their per-attribute members alike; one switch serves both.
template<typename Holder> auto &memberFor(Holder &holder, Attribute attribute)
{
    switch (attribute) {
    case Attribute::Font:
        return holder.font;
    case Attribute::Style:
        return holder.style;
    case Attribute::Color:
        return holder.color;
    case Attribute::Speed:
        return holder.speed;
    case Attribute::Alignment:
        return holder.alignment;
    case Attribute::Pause:
        return holder.pause;
    case Attribute::Beep:
        return holder.beep;
    }
    return holder.font;
}

} // namespace

Code Attributes::code(Attribute attribute) const
{
    return memberFor(*this, attribute);
}

Code &Attributes::code(Attribute attribute)
{
    return memberFor(*this, attribute);
}

std::array<Code, kRows> &SignImage::codes(Attribute attribute)
{
    return memberFor(*this, attribute);
}

const std::array<Code, kRows> &SignImage::codes(Attribute attribute) const
{
    return memberFor(*this, attribute);
}

} // namespace tavrin::protocol
