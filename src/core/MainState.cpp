#include "MainState.h"

namespace tavrin::core {

MainState::MainState()
{
    for (int i = 0; i < kLinks; ++i)
        linkLabels[size_t(i)] = vocab::linkLabel(i);
}

int MainState::listCount(vocab::Attribute attribute) const
{
    return int(profile.vocabulary(attribute).size());
}

void MainState::selectRowCode(int row, vocab::Attribute attribute, int code)
{
    if (row < 0 || row >= kRows)
        return;
    Code &current = config.rows[size_t(row)].code(attribute);
    current = Code(vocab::selectByCode(current, code, listCount(attribute)));
}

void MainState::selectLinkPriority(int link, int code)
{
    if (link < 0 || link >= kLinks)
        return;
    Code &current = config.links[size_t(link)].priority;
    current = Code(vocab::selectByCode(current, code, vocab::kPriorityCount));
}

void MainState::selectPort(int code)
{
    portIndex = vocab::selectByCode(portIndex, code, vocab::kPortCount);
}

} // namespace tavrin::core
