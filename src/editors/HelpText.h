#pragma once

#include <QString>

#include <optional>

namespace tavrin::editors {

// "Version : 4.72" from a caption such as "Sign Configuration Manager ver 4.72"; nothing when
// the caption holds no "ver " (then the About window keeps its design text "Version").
std::optional<QString> softwareVersionText(const QString &caption);

// The maker's contact lines shown in the About window.
struct ContactLines
{
    QString company;
    QString email;
    QString website;
};
ContactLines contactLines();

} // namespace tavrin::editors
