#pragma once

#include "ProgramModule.h"

struct TestModuleTable
{
    tavrin::modules::ModuleHeader header;
    int (*answer)();
};
