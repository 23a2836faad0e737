#include "SignConfig.h"

namespace tavrin::core {

using vocab::Attribute;

Code PriorityRow::code(Attribute attribute) const
{
    return const_cast<PriorityRow *>(this)->code(attribute);
}

Code &PriorityRow::code(Attribute attribute)
{
    switch (attribute) {
    case Attribute::Font:
        return font;
    case Attribute::Style:
        return style;
    case Attribute::Color:
        return color;
    case Attribute::Speed:
        return speed;
    case Attribute::Alignment:
        return alignment;
    case Attribute::Pause:
        return pause;
    case Attribute::Beep:
        return beep;
    }
    return font;
}

std::array<Code, kRows> &SignImage::codes(Attribute attribute)
{
    switch (attribute) {
    case Attribute::Font:
        return font;
    case Attribute::Style:
        return style;
    case Attribute::Color:
        return color;
    case Attribute::Speed:
        return speed;
    case Attribute::Alignment:
        return alignment;
    case Attribute::Pause:
        return pause;
    case Attribute::Beep:
        return beep;
    }
    return font;
}

} // namespace tavrin::core
