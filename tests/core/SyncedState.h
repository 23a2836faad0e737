#pragma once

#include "UploadProgress.h"

// Pending items as "r<row> l<link> id uc".
inline QString pendingItems(const tavrin::core::PendingFlags &f)
{
    QString items;
    for (int k = 0; k < tavrin::core::kRows; ++k)
        items += f.row[k] ? QString(" r%1").arg(k) : "";
    for (int i = 0; i < tavrin::core::kImageLinks; ++i)
        items += f.link[i] ? QString(" l%1").arg(i) : "";
    return (items + (f.autoID ? " id" : "") + (f.userCommand ? " uc" : "")).trimmed();
}

// A window whose controls match its image, with nothing pending: every code 2, timeouts 30,
// link 2 with a priority but no capcode, links 4 and 5, user command RESET, auto ID.
inline tavrin::core::MainState syncedState()
{
    tavrin::core::MainState s;
    for (int k = 0; k < tavrin::core::kRows; ++k) {
        for (tavrin::vocab::Attribute a : tavrin::vocab::kAttributes)
            s.selectRowCode(k, a, 2);
        s.config.rows[k].timeout = "30";
    }
    s.config.links[2] = { "", 1 };
    s.config.links[4] = { "444", 2 };
    s.config.links[5] = { "555", 0 };
    s.config.userCommand = "RESET";
    s.config.autoID = 1;
    // As after an upload of everything that the sign confirmed item by item.
    using Item = tavrin::core::UploadItem;
    for (int k = 0; k < tavrin::core::kRows; ++k)
        confirmUploadItem(s.image, s.flags, { Item::Kind::Row, k }, s.config);
    for (int i = 0; i < tavrin::core::kLinks; ++i)
        confirmUploadItem(s.image, s.flags, { Item::Kind::Link, i }, s.config);
    confirmUploadItem(s.image, s.flags, { Item::Kind::AutoID }, s.config);
    confirmUploadItem(s.image, s.flags, { Item::Kind::UserCommand }, s.config);
    s.image.linkPriority[5].clear(); // an empty stored priority reads as 0
    return s;
}
