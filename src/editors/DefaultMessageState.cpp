#include "DefaultMessageState.h"

namespace tavrin::editors {

int DefaultMessageState::code(vocab::Attribute attribute) const
{
    const auto slot = size_t(attribute);
    return slot < codes.size() ? codes[slot] : -1;
}

int DefaultMessageState::listCount(vocab::Attribute attribute) const
{
    return int(profile.vocabulary(attribute).size());
}

MessageAttributes DefaultMessageState::attributes() const
{
    using vocab::Attribute;
    return { code(Attribute::Font),      code(Attribute::Color), code(Attribute::Style),
             code(Attribute::Alignment), code(Attribute::Speed), code(Attribute::Pause) };
}

} // namespace tavrin::editors
