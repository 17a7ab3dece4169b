#include "tools/part_program.h"

#include "base/atomic_file.h"
#include "tools/kavtool.h"

#include <QFile>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <unistd.h>

#if !defined(KAV_PAINT_PROGRAM) || !defined(KAV_PORT_PROGRAM)
#error                                                                                             \
    "KAV_PAINT_PROGRAM and KAV_PORT_PROGRAM are the parts' paths relative to kavtool's folder (tools/CMakeLists.txt)"
#endif

QString PartProgramPath(TKavtoolPart part) {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path folder = ec ? std::filesystem::path(".") : self.parent_path();
    const char* relative = part == TKavtoolPart::Paint ? KAV_PAINT_PROGRAM : KAV_PORT_PROGRAM;
    return QFile::decodeName((folder / relative).lexically_normal().c_str());
}

int RunPartProgram(TKavtoolPart part, char** argv) {
    const QString path = PartProgramPath(part);
    const QByteArray file = QFile::encodeName(path);
    argv[0] = const_cast<char*>(file.constData());
    ::execv(file.constData(), argv);
    const int err = errno;
    const QString what =
        part == TKavtoolPart::Paint ? QStringLiteral("drawing") : QStringLiteral("serial-line");
    return Fail(QStringLiteral("cannot run the %1 part of kavtool \"%2\": %3")
                    .arg(what, path, SystemErrorText(err)));
}
