#include "tools/kavtool.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace {

// Qt's own notes about the surroundings (no XDG_RUNTIME_DIR under cron, a
// platform plugin's remarks) say nothing about the user's files, and every
// failure kavtool meets it reports itself: they are not shown. What Qt
// counts as an error of its own is, as one line of kavtool's.
void OwnLinesOnly(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        PrintError(QStringLiteral("kavtool: ") + message.simplified());
}

} // namespace

void KeepQtNotesOffTheTerminal() {
    // Someone looking into Qt itself asked for its messages: they stay.
    for (const char* name : {"QT_LOGGING_RULES", "QT_DEBUG_PLUGINS", "QT_MESSAGE_PATTERN"}) {
        if (!qEnvironmentVariableIsEmpty(name))
            return;
    }
    qInstallMessageHandler(OwnLinesOnly);
}
