#include "spectrum/recent_files.h"

#include "spectrum/spectrum_view.h"

void UpdateRecentFilesList(TRecentFiles& recent, const QString& path) {
    if (path.isEmpty() || recent.contains(path))
        return;
    recent.prepend(path);
    while (recent.size() > RecentFilesMax)
        recent.removeLast();
}

QStringList RecentFilesCaptions(const TRecentFiles& recent) {
    QStringList captions;
    captions.reserve(recent.size());
    for (qsizetype i = 0; i < recent.size(); ++i)
        captions.append(QString::number(i) + QStringLiteral(" - ") + recent[i]);
    return captions;
}

void UpdateRecentFiles(TRecentFiles& recent, const QString& path, TSpectrumView& view) {
    UpdateRecentFilesList(recent, path);
    view.RebuildRecentFilesMenus(RecentFilesCaptions(recent), !recent.isEmpty());
}
