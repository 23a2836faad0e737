#include "ModelProfile.h"

namespace tavrin::vocab {
namespace {

void fillLists(AttributeLists &p, bool vx903)
{
    for (const Attribute attribute : kAttributes) {
        p.lists[size_t(attribute)]
            = vx903 ? vx903Vocabulary(attribute) : standardVocabulary(attribute);
    }
}

} // namespace

MainProfile mainProfile(const QString &model)
{
    MainProfile p;
    p.vx903 = model == kModelVX903;
    fillLists(p, p.vx903);
    p.speedAndAlignmentEnabled = !p.vx903;
    return p;
}

TestMessageProfile testMessageProfile(const QString &model)
{
    TestMessageProfile p;
    p.vx903 = model == kModelVX903;
    fillLists(p, p.vx903);
    if (p.vx903) {
        p.timeControlsVisible = false;
        p.speedAndAlignmentEnabled = false;
        p.timeFormatCount = 0;
        p.timeFormatSelection = -1;
    } else {
        p.timeControlsVisible = true;
        p.speedAndAlignmentEnabled = true;
        p.timeFormatCount = kTimeFormatCount;
        p.timeFormatSelection = 0;
    }
    return p;
}

DefaultMessageProfile defaultMessageProfile(const QString &model)
{
    DefaultMessageProfile p;
    const bool vx903 = model == kModelVX903;
    const bool kr4410 = model == kModelKR4410;
    const bool tm207 = model == kModelTM207;
    p.vx903 = vx903;
    if (!vx903 && !kr4410 && !tm207)
        return p; // lists stay empty, every time control keeps its design state

    p.insertTimeVisible = kr4410;
    p.timeFormatVisible = vx903 || kr4410;
    p.timeOnIdleVisible = vx903;
    fillLists(p, vx903);
    p.lists[size_t(Attribute::Beep)] = {};
    if (vx903) {
        p.speedAndAlignmentDisabled = true;
        p.lists[size_t(Attribute::Font)] = vx903DefaultMessageFonts();
    }
    return p;
}

int defaultMessageTimeFormatCount(const QString &modelLabel)
{
    return modelLabel == kModelVX903 ? kTimeOnlyFormatCount : kTimeFormatCount;
}

} // namespace tavrin::vocab
