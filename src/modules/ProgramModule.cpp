#include "ProgramModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#include <cstring>

namespace tavrin::modules {

ProgramModule::ProgramModule(const char *name, const char *entryPoint)
    : m_name(name)
    , m_entryPoint(entryPoint)
{
}

const ModuleHeader *ProgramModule::load()
{
    if (m_table)
        return m_table;
    const QString programDir = QCoreApplication::applicationDirPath();
    const QStringList folders { programDir,
                                QDir::cleanPath(programDir + u'/'
                                                + QLatin1String(TAVRIN_MODULE_DIR_FROM_PROGRAM)) };
    QStringList failures;
    for (const QString &folder : folders) {
        // Never unloaded: the QLibrary object may go, the module stays for the process.
        QLibrary library(folder + u'/' + QLatin1String(m_name));
        if (!library.load()) {
            failures << library.errorString();
            continue;
        }
        using EntryPoint = const void *(*)();
        const auto entry = reinterpret_cast<EntryPoint>(library.resolve(m_entryPoint));
        const auto *table = static_cast<const ModuleHeader *>(entry ? entry() : nullptr);
        if (!table) {
            failures << QCoreApplication::translate("ProgramModule", "%1 has no entry point %2")
                            .arg(QDir::toNativeSeparators(library.fileName()),
                                 QLatin1String(m_entryPoint));
        } else if (std::strcmp(table->version, TAVRIN_VERSION_STRING) != 0) {
            failures << QCoreApplication::translate("ProgramModule",
                                                    "%1 belongs to version %2, not to %3")
                            .arg(QDir::toNativeSeparators(library.fileName()),
                                 QLatin1String(table->version),
                                 QLatin1String(TAVRIN_VERSION_STRING));
        } else {
            m_table = table;
            m_error.clear();
            return m_table;
        }
    }
    m_error = QCoreApplication::translate("ProgramModule",
                                          "The program's part %1 could not be "
                                          "loaded: %2")
                  .arg(QLatin1String(m_name), failures.join(QLatin1String("; ")));
    return nullptr;
}

} // namespace tavrin::modules
