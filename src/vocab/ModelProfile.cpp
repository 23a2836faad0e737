#include "ModelProfile.h"

namespace tavrin::vocab {
namespace {

template<typename Profile> void fillLists(Profile &p, bool vx903)
{
    auto pick = [vx903](Attribute a) {
        return vx903 ? vx903Vocabulary(a) : standardVocabulary(a);
    };
    p.font = pick(Attribute::Font);
    p.color = pick(Attribute::Color);
    p.style = pick(Attribute::Style);
    p.alignment = pick(Attribute::Alignment);
    p.speed = pick(Attribute::Speed);
    p.pause = pick(Attribute::Pause);
    p.beep = pick(Attribute::Beep);
}

template<typename Profile> Table vocabularyOf(const Profile &p, Attribute attribute)
{
    switch (attribute) {
    case Attribute::Font:
        return p.font;
    case Attribute::Color:
        return p.color;
    case Attribute::Style:
        return p.style;
    case Attribute::Alignment:
        return p.alignment;
    case Attribute::Speed:
        return p.speed;
    case Attribute::Pause:
        return p.pause;
    case Attribute::Beep:
        return p.beep;
    }
    return {};
}

} // namespace

Table MainProfile::vocabulary(Attribute attribute) const
{
    return vocabularyOf(*this, attribute);
}

MainProfile mainProfile(const QString &model)
{
    MainProfile p;
    p.vx903 = model == kModelVX903;
    fillLists(p, p.vx903);
    p.speedAndAlignmentEnabled = !p.vx903;
    return p;
}

Table TestMessageProfile::vocabulary(Attribute attribute) const
{
    return vocabularyOf(*this, attribute);
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

Table DefaultMessageProfile::vocabulary(Attribute attribute) const
{
    switch (attribute) {
    case Attribute::Font:
        return font;
    case Attribute::Color:
        return color;
    case Attribute::Style:
        return style;
    case Attribute::Alignment:
        return alignment;
    case Attribute::Speed:
        return speed;
    case Attribute::Pause:
        return pause;
    case Attribute::Beep:
        return {};
    }
    return {};
}

DefaultMessageProfile defaultMessageProfile(const QString &model)
{
    DefaultMessageProfile p;
    const bool vx903 = model == kModelVX903;
    p.vx903 = vx903;
    const bool kr4410 = model == kModelKR4410;
    const bool tm207 = model == kModelTM207;
    if (!vx903 && !kr4410 && !tm207)
        return p; // lists stay empty, every time control keeps its design state

    p.insertTimeVisible = kr4410;
    p.timeFormatVisible = vx903 || kr4410;
    p.timeOnIdleVisible = vx903;
    p.pause = standardVocabulary(Attribute::Pause);
    p.speed = standardVocabulary(Attribute::Speed);
    p.alignment = standardVocabulary(Attribute::Alignment);
    if (vx903) {
        p.speedAndAlignmentDisabled = true;
        p.font = vx903DefaultMessageFonts();
        p.color = vx903Vocabulary(Attribute::Color);
        p.style = vx903Vocabulary(Attribute::Style);
    } else {
        p.font = standardVocabulary(Attribute::Font);
        p.color = standardVocabulary(Attribute::Color);
        p.style = standardVocabulary(Attribute::Style);
    }
    return p;
}

int defaultMessageTimeFormatCount(const QString &modelLabel)
{
    return modelLabel == kModelVX903 ? kTimeOnlyFormatCount : kTimeFormatCount;
}

} // namespace tavrin::vocab
