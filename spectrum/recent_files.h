#pragma once

#include "config/kav_cfg.h"

#include <QString>
#include <QStringList>

class TSpectrumView;

// Enters a path into the recent-files list: a path equal to an entry stays
// where it is and changes nothing; a new path goes to the top, and the
// oldest entry goes when the list would hold more than 20. An empty path
// changes nothing.
void UpdateRecentFilesList(TRecentFiles& recent, const QString& path);

// The menu captions of the list: "<index> - <path>", index from 0.
QStringList RecentFilesCaptions(const TRecentFiles& recent);

// UpdateRecentFilesList, then both recent-files menus are rebuilt; the
// submenu is enabled when the list holds an entry.
void UpdateRecentFiles(TRecentFiles& recent, const QString& path, TSpectrumView& view);
