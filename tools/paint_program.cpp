#include "tools/paint_program.h"

#include "base/atomic_file.h"
#include "tools/kavtool.h"

#include <QFile>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <unistd.h>

#ifndef KAV_PAINT_PROGRAM
#error                                                                                             \
    "KAV_PAINT_PROGRAM is kavtool-paint's path relative to kavtool's folder (tools/CMakeLists.txt)"
#endif

QString PaintProgramPath() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path folder = ec ? std::filesystem::path(".") : self.parent_path();
    return QFile::decodeName((folder / KAV_PAINT_PROGRAM).lexically_normal().c_str());
}

int RunPaintProgram(char** argv) {
    const QString path = PaintProgramPath();
    const QByteArray file = QFile::encodeName(path);
    argv[0] = const_cast<char*>(file.constData());
    ::execv(file.constData(), argv);
    const int err = errno;
    return Fail(QStringLiteral("cannot run the drawing part of kavtool \"%1\": %2")
                    .arg(path, SystemErrorText(err)));
}
