#include "DefaultMessageState.h"

namespace tavrin::editors {

using namespace protocol;

int DefaultMessageState::code(vocab::Attribute attribute) const
{
    const auto slot = size_t(attribute);
    return slot < codes.size() ? codes[slot] : -1;
}

int DefaultMessageState::listCount(vocab::Attribute attribute) const
{
    return int(profile.vocabulary(attribute).size());
}

protocol::Attributes DefaultMessageState::attributes() const
{
    using vocab::Attribute;
    protocol::Attributes attributes;
    for (Attribute attribute : protocol::kSignFieldOrder) {
        if (attribute != Attribute::Beep) // a default message has no beep
            attributes.code(attribute) = protocol::Code(code(attribute));
    }
    return attributes;
}

} // namespace tavrin::editors
