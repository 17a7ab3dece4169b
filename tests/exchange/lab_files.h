#pragma once

// Files as other laboratories' programs write them and as public readers
// read them, written from the format's description alone and sharing no
// code with the program's own reader and writer: a BES3T descriptor with
// its data (and axis) file, read key by key over every layer; and the
// measures a test compares shapes by.

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QtEndian>
#include <cmath>
#include <cstring>
#include <vector>

// A data set read as the public readers read it.
struct TPlainBes3t {
    QHash<QString, QString> Keys; // every key of every layer, first occurrence
    std::vector<double> X;
    std::vector<double> Y;
    bool AsciiOnly = true; // every byte of the descriptor below 0x80
    QString Error;         // empty when the set was read
};

inline QByteArray PlainFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Items of a format (D or F, as the program and the labs here write them)
// in a byte order.
inline std::vector<double> PlainItems(const QByteArray& bytes, const QString& format, bool big) {
    const int size = format == "D" ? 8 : 4;
    std::vector<double> values;
    for (qsizetype k = 0; k + size <= bytes.size(); k += size) {
        const auto* p = reinterpret_cast<const uchar*>(bytes.constData() + k);
        if (format == "D")
            values.push_back(big ? qFromBigEndian<double>(p) : qFromLittleEndian<double>(p));
        else
            values.push_back(big ? qFromBigEndian<float>(p) : qFromLittleEndian<float>(p));
    }
    return values;
}

// `dsc` names NAME.DSC; the data file is NAME.DTA, the axis file NAME.XGF.
inline TPlainBes3t ReadPlainBes3t(const QString& dsc) {
    TPlainBes3t r;
    const QByteArray text = PlainFile(dsc);
    for (const char c : text)
        r.AsciiOnly = r.AsciiOnly && static_cast<unsigned char>(c) < 0x80;
    for (const QByteArray& raw : text.split('\n')) {
        const QString line = QString::fromLatin1(raw).trimmed();
        if (line.isEmpty() || line.startsWith('*') || line.startsWith('#') ||
            line.startsWith(".DVC"))
            continue;
        const qsizetype gap = line.indexOf(QRegularExpression("\\s"));
        const QString key = gap < 0 ? line : line.left(gap);
        if (!r.Keys.contains(key))
            r.Keys.insert(key, gap < 0 ? QString() : line.mid(gap).trimmed());
    }
    const QString base = dsc.left(dsc.size() - 4);
    const bool big = r.Keys.value("BSEQ", "BIG") == "BIG";
    r.Y = PlainItems(PlainFile(base + ".DTA"), r.Keys.value("IRFMT"), big);
    const int n = r.Keys.value("XPTS").toInt();
    if (int(r.Y.size()) != n) {
        r.Error = QString("%1 values for XPTS %2").arg(r.Y.size()).arg(n);
        return r;
    }
    if (r.Keys.value("XTYP") == "IGD") {
        r.X = PlainItems(PlainFile(base + ".XGF"), r.Keys.value("XFMT", "D"), big);
    } else {
        const double xmin = r.Keys.value("XMIN").toDouble();
        const double xwid = r.Keys.value("XWID").toDouble();
        for (int k = 0; k < n; ++k)
            r.X.push_back(n == 1 ? xmin : xmin + xwid * k / (n - 1));
    }
    if (int(r.X.size()) != n)
        r.Error = QString("%1 axis values for XPTS %2").arg(r.X.size()).arg(n);
    return r;
}

// A data set as a spectrometer's own program writes one: the keys given
// (each "KEY\tvalue"), the values in a format (D or F) and byte order.
inline QByteArray LabDescriptor(const QStringList& keys) {
    return ("#DESC\t1.2 * DESCRIPTOR INFORMATION\n*\n" + keys.join('\n') +
            "\n*\n#SPL\t1.2 * STANDARD PARAMETER LAYER\nEXPT\tCW\nAVGS\t1\n#DSL\t1.0\n"
            ".DVC\trecorder, 1.0\nNbScansDone\t1\n")
        .toLatin1();
}

inline QByteArray LabData(const std::vector<double>& values, char format, bool big) {
    QByteArray bytes;
    for (const double v : values) {
        uchar b[8];
        if (format == 'D')
            big ? qToBigEndian<double>(v, b) : qToLittleEndian<double>(v, b);
        else
            big ? qToBigEndian<float>(float(v), b) : qToLittleEndian<float>(float(v), b);
        bytes.append(reinterpret_cast<const char*>(b), format == 'D' ? 8 : 4);
    }
    return bytes;
}

// A first-derivative Lorentzian line: the shape of a cw EPR line.
inline double DerivativeLine(double x, double centre, double width, double height) {
    const double d = (x - centre) / width;
    return -height * d / ((1 + d * d) * (1 + d * d));
}

// Pearson's correlation of two series of the same length.
inline double Correlation(const std::vector<double>& a, const std::vector<double>& b) {
    const std::size_t n = std::min(a.size(), b.size());
    if (n < 2)
        return 0;
    double ma = 0, mb = 0;
    for (std::size_t k = 0; k < n; ++k) {
        ma += a[k];
        mb += b[k];
    }
    ma /= double(n);
    mb /= double(n);
    double sab = 0, saa = 0, sbb = 0;
    for (std::size_t k = 0; k < n; ++k) {
        sab += (a[k] - ma) * (b[k] - mb);
        saa += (a[k] - ma) * (a[k] - ma);
        sbb += (b[k] - mb) * (b[k] - mb);
    }
    return saa > 0 && sbb > 0 ? sab / std::sqrt(saa * sbb) : 0;
}
