#pragma once

#include "TavrinVersion.h"

#include <QString>

#include <type_traits>

namespace tavrin::modules {

// What every module's entry point returns first: the version it was built as. A module left
// behind by another installation is refused rather than called.
struct ModuleHeader
{
    const char *version = TAVRIN_VERSION_STRING;
};

// A part of the program that is loaded on its first use, so that the programs start without
// what only it needs (Qt Network for device servers and the download page, libxml2 for the
// page). It is looked for next to the program, then where an installation puts modules.
//
// A module exports one function, named by entryPoint, `extern "C" const void *entry()`, that
// returns a pointer to a table of functions whose first member is a ModuleHeader. The table is
// plain C++: no Qt meta-object crosses the module's edge, so the module keeps its own QObject
// classes to itself.
class ProgramModule
{
public:
    ProgramModule(const char *name, const char *entryPoint);

    // The module's table, the module loaded on the first call; null, with the reason in
    // error(), when it cannot be loaded. A failed load is tried again on the next call.
    template<typename Table> const Table *table()
    {
        // The header is the table's first member, so the two share their address.
        static_assert(std::is_standard_layout_v<Table>);
        return reinterpret_cast<const Table *>(load());
    }
    const QString &error() const { return m_error; }

private:
    const ModuleHeader *load();

    const char *m_name;
    const char *m_entryPoint;
    const ModuleHeader *m_table = nullptr;
    QString m_error;
};

} // namespace tavrin::modules
