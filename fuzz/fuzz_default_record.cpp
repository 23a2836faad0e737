// The sign's default-message record and the other answers the default-message editor reads:
// the record decoder on every line, then the lines one after another through the editor of
// each model, opened on a message from a configuration file so that it sends nothing, each line
// as the answer to every command the editor waits on.
#include "SignFuzzing.h"

#include "DefaultMessageEditor.h"
#include "DefaultMessageProtocol.h"
#include "DefaultMessageRecord.h"

#include <algorithm>
#include <array>

using namespace tavrin;

namespace {

void checkRecord(const QString &line)
{
    const protocol::DefaultMessageRecord record = protocol::decodeDefaultMessageRecord(line);
    // The model ends at the first ":" and the text field at its ",".
    fuzz::require(!record.model.contains(QLatin1Char(':')), "record model ends at its colon");
    fuzz::require(!record.text || !record.text->contains(QLatin1Char(',')),
                  "record text ends at its comma");
}

// What the editor writes that the sign answers.
const std::array<QString, 5> kOutstanding
    = { protocol::kDownloadDefaultMsgCommand, protocol::kTimeStatusCommand,
        QStringLiteral("<DF f=0 c=3 s=0 a=2 sp=2 p=3>WELCOME\r"), QStringLiteral("<del id=def>\r"),
        QStringLiteral("<TIME f=0 c=3 s=0 a=2 sp=2 p=3 fm=0>IDLE ON\r") };

// Every list of the editor shows one of its own positions, or nothing.
void checkEditor(const editors::DefaultMessageState &state)
{
    constexpr std::array kLists
        = { vocab::Attribute::Font,      vocab::Attribute::Color, vocab::Attribute::Style,
            vocab::Attribute::Alignment, vocab::Attribute::Speed, vocab::Attribute::Pause };
    fuzz::requireListSelections(state, kLists, "default message list selection");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::ensureApplication();
    const QStringList lines = fuzz::replyLines(data, size);
    for (const QString &line : lines)
        checkRecord(line);

    std::array<QString, fuzz::kModels.size() + 1> models;
    std::copy(fuzz::kModels.begin(), fuzz::kModels.end(), models.begin()); // last: no model
    for (const QString &model : models) {
        core::DefaultMessageStore store;
        store.configFileName = QStringLiteral("factory.led"); // as if a file had been opened
        store.message.text = QStringLiteral("WELCOME");
        store.message.attributes
            = { .font = 0, .style = 0, .color = 3, .speed = 2, .alignment = 2, .pause = 3 };
        editors::DefaultMessageEditor editor(store, { model, model, 0 });
        editor.open();
        checkEditor(editor.state());
        for (const QString &line : lines) {
            for (const QString &outstanding : kOutstanding) {
                editor.handleDefaultReply(protocol::SignAnswer::paired(line, outstanding));
                checkEditor(editor.state());
            }
        }
        editor.close();
    }
    return 0;
}
