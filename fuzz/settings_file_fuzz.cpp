// Any bytes as a settings file: load, save, load, save, load, all in memory
// as LoadSettings and SaveSettings do through the file. Besides the
// sanitizers, each run checks that the second and third loads give the same
// record, that the recent files of the third load begin with those of the
// second (a save renumbers them and keeps the keys it does not write), that
// every save is read back as cp1251, and that texts keep their field widths.
#include "config/ini_file.h"
#include "config/ini_text.h"
#include "config/settings_store.h"

#include <QByteArray>
#include <cstdlib>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

struct TLoaded {
    TKavCfg Cfg{};
    TRecentFiles Recent;
};

TLoaded Load(const QByteArray& bytes, QChar sep) {
    TLoaded l;
    SetDefaults(l.Cfg, QStringLiteral("/work"));
    ReadSettings(TIniFile::FromBytes(bytes), l.Cfg, l.Recent, sep);
    Check(l.Recent.size() <= RecentFilesMax);
    for (const TMeasureUnit& u : l.Cfg.RazvUnits)
        Check(u.Name.size() <= UnitNameMaxLength);
    Check(l.Cfg.Port.PortName.size() <= PortNameMaxLength);
    return l;
}

QByteArray Save(const QByteArray& previous, const TLoaded& l, QChar sep) {
    TIniFile ini = TIniFile::FromBytes(previous);
    WriteSettings(ini, l.Cfg, l.Recent, sep);
    const QByteArray bytes = ini.ToBytes();
    Check(DetectIniEncoding(bytes) == TIniEncoding::Cp1251);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray file =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // Either separator, as the user's locale has it.
    const QChar sep = size % 2 == 0 ? QChar(u',') : QChar(u'.');
    const TLoaded first = Load(file, sep);
    const QByteArray once = Save(file, first, sep);
    const TLoaded second = Load(once, sep);
    const QByteArray twice = Save(once, second, sep);
    const TLoaded third = Load(twice, sep);
    Check(third.Cfg == second.Cfg);
    Check(third.Recent.mid(0, second.Recent.size()) == second.Recent);
    return 0;
}
