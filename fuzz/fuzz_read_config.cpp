// A .led file's bytes through the reader, into the main window just after start and after
// each model's download (the lists a file must fit differ by model).
#include "SignFuzzing.h"

#include "MainFile.h"

using namespace tavrin;

// Whatever the bytes, reading them must neither crash nor leave a control on a position its
// list does not have, and a failure must say why.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const core::MainState &start : fuzz::startStates()) {
        core::MainState state = start;
        core::DefaultMessageStore store;
        const storage::ReadResult result = core::readConfigBytes(bytes, state, store);
        fuzz::checkMainState(state);
        fuzz::require(result.ok || !result.description.isEmpty(), "a failed read says why");
    }
    return 0;
}
