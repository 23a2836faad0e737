#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace tavrin::signsim {

// A configuration file saved by the main window, as the commands that put it on a sign.
struct SavedConfiguration
{
    QString model; // the file's model label, empty when it names none
    // Without "\r": the link table emptied, then what "Force Upload" sends after opening the
    // file (all but the user command, which the file does not hold), then the default message
    // when the file has one.
    QStringList commands;
    QString notice; // the settings the file did not set, empty when it set them all
};

// Reads path with the main window's own reader; on failure, error says why.
std::optional<SavedConfiguration> readSavedConfiguration(const QString &path, QString *error);

} // namespace tavrin::signsim
