#include "TestModule.h"

#include <QtGlobal>

namespace {

int answer()
{
    return 42;
}

} // namespace

extern "C" Q_DECL_EXPORT const void *testModuleTable()
{
#ifdef TEST_MODULE_VERSION
    static const TestModuleTable table { { TEST_MODULE_VERSION }, &answer };
#else
    static const TestModuleTable table { {}, &answer };
#endif
    return &table;
}
