// kav_read_floor FILE.kav: starts a Qt Core application, reads the spectrum
// file whole and prints how many of its 4-byte records hold a point (an
// amplitude code below 4096). What every kavtool command costs at least.

#include <QCoreApplication>
#include <QFile>
#include <QtEndian>
#include <cstdio>

int main(int argc, char** argv) {
    const QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: kav_read_floor FILE.kav\n", stderr);
        return 2;
    }
    QFile file(QFile::decodeName(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "kav_read_floor: %s\n", qPrintable(file.errorString()));
        return 1;
    }
    const QByteArray bytes = file.readAll();
    long points = 0;
    for (qsizetype i = 0; i + 4 <= bytes.size(); i += 4)
        points += qFromLittleEndian<quint16>(bytes.constData() + i + 2) < 4096;
    std::printf("%ld\n", points);
    return 0;
}
