#include "storage/ConfigFileReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace tavrin;

namespace {

bool withinLists(const core::MainState &state)
{
    if (state.portIndex < -1 || state.portIndex >= vocab::kPortCount)
        return false;
    if (state.config.autoID != 0 && state.config.autoID != 1)
        return false;
    for (const core::PriorityRow &row : state.config.rows) {
        for (const vocab::Attribute a : vocab::kAttributes) {
            if (row.code(a) < -1 || row.code(a) >= state.listCount(a))
                return false;
        }
    }
    for (const core::LinkRow &link : state.config.links) {
        if (link.priority < -1 || link.priority >= vocab::kPriorityCount)
            return false;
    }
    return true;
}

} // namespace

// Whatever the bytes, reading them must neither crash nor leave a control on a position its
// list does not have, and a failure must say why.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    core::MainState state;
    core::DefaultMessageStore store;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const storage::ReadResult result = storage::readConfigBytes(bytes, state, store);
    if (!withinLists(state) || (!result.ok && result.description.isEmpty()))
        std::abort();
    return 0;
}
