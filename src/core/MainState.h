#pragma once

#include "ModelProfile.h"
#include "SignConfig.h"

#include <QString>
#include <QStringList>

#include <array>

namespace tavrin::core {

// The main window shows and keeps the sign's configuration as the protocol describes it.
using protocol::Code;
using protocol::kImageLinks;
using protocol::kLinks;
using protocol::kRows;
using protocol::LinkRow;
using protocol::PendingFlags;
using protocol::PriorityRow;
using protocol::SignConfig;
using protocol::SignImage;

// Everything the main window shows or keeps, without the widgets: the window binds its
// controls to this, and the logic (reply interpreter, uploads, files) reads and writes it.
struct MainState
{
    // Configuration controls and the lists' current vocabularies.
    SignConfig config;
    vocab::MainProfile profile = vocab::mainProfile(QString());

    // Status controls.
    QString modelLabel; // LEDSignModel
    QString modelNumber; // LEDSignModelNumber: the model string of the last download
    QString firmwareCount; // FCount caption
    QString firmwareCountToolTip; // tool tip of FCount and FCountLabel
    QString testLabel; // "Auto ID True" / "Auto ID False"
    QString status; // Textout caption
    bool statusVisible = false;

    // Port choice: list entries (a failed open replaces its entry's text) and selection.
    QStringList portEntries = vocab::portEntries();
    QStringList portFailures = QStringList(vocab::kPortCount, QString()); // full texts
    int portIndex = 0;

    // Link table labels and the ID-0 relabelling.
    std::array<QString, kLinks> linkLabels;
    bool forceOnID0 = false;

    // Last-known sign image and pending-upload flags.
    SignImage image;
    PendingFlags flags;

    // The window's progress bar (ProgressUploadAll).
    int progressMaximum = 100;
    int progressValue = 0;
    bool progressVisible = false;

    // Buttons that the sign commands disable while a command is in flight.
    QString downloadCaption = QStringLiteral("Download from Sign");
    bool downloadEnabled = true;
    QString uploadCaption = QStringLiteral("Upload to Sign");
    bool uploadEnabled = true;
    bool factoryDefaultsEnabled = true;
    bool autoIDEnabled = true;

    // Window chrome driven by handlers.
    bool priorityPanelShown = false;

    MainState();

    // Selects code in the row's list by the select-by-code rule of the current vocabulary.
    void selectRowCode(int row, vocab::Attribute attribute, int code);
    void selectLinkPriority(int link, int code);
    void selectPort(int code);
    int listCount(vocab::Attribute attribute) const;
};

} // namespace tavrin::core
