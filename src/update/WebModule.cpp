#include "WebFetch.h"

namespace tavrin::update {

modules::ProgramModule &webModule()
{
    static modules::ProgramModule module(kWebModuleName, kWebModuleEntry);
    return module;
}

} // namespace tavrin::update
