#include "config/settings_store.h"

#include "base/atomic_file.h"
#include "base/input_file.h"
#include "config/ini_file.h"
#include "config/port_name.h"

#include <QCoreApplication>
#include <QDir>
#include <cmath>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace {

// Keys of a section bound to the fields they hold, in the order the save
// writes them. Integer values read into narrower fields keep their low bits.
template <typename Record>
using TField = std::variant<std::int32_t Record::*, std::uint16_t Record::*, std::uint8_t Record::*,
                            bool Record::*, QString Record::*, TWindowState Record::*>;

template <typename Record> struct TKey {
    const char* Name;
    TField<Record> Field;
};

const TKey<TWindowPlace> PlaceKeys[] = {
    {"Top", &TWindowPlace::Top},         {"Left", &TWindowPlace::Left},
    {"Width", &TWindowPlace::Width},     {"Height", &TWindowPlace::Height},
    {"Visible", &TWindowPlace::Visible}, {"State", &TWindowPlace::State},
    {"Style", &TWindowPlace::Style},
};

const TKey<TComSettings> PortKeys[] = {
    {"PortName", &TComSettings::PortName},
    {"BaudRate", &TComSettings::BaudRate},
    {"Parity", &TComSettings::Parity},
    {"StopBits", &TComSettings::StopBits},
    {"RTSControl", &TComSettings::RTSControl},
    {"DTRControl", &TComSettings::DTRControl},
    {"DSRControl", &TComSettings::DSRControl},
    {"CTSControl", &TComSettings::CTSControl},
    {"DSRSensitivity", &TComSettings::DSRSensitivity},
    {"TimeOut", &TComSettings::TimeOut},
    {"SlaveAddress", &TComSettings::SlaveAddress},
};

// "Main" up to ShowFirst; Orientation and the margins follow it.
const TKey<TKavCfg> MainKeys[] = {
    {"PoleMin", &TKavCfg::PoleMin},
    {"PoleMax", &TKavCfg::PoleMax},
    {"ViewMin", &TKavCfg::ViewMin},
    {"ViewMax", &TKavCfg::ViewMax},
    {"Amplifying", &TKavCfg::Amplifying},
    {"Rapid", &TKavCfg::Rapid},
    {"Correction", &TKavCfg::Correction},
    {"WorkDir", &TKavCfg::WorkDir},
    {"LastOpen", &TKavCfg::LastOpen},
    {"Visir1", &TKavCfg::Visir1},
    {"Visir2", &TKavCfg::Visir2},
    {"ToolBar", &TKavCfg::ToolBar},
    {"VisKoord1", &TKavCfg::VisKoord1},
    {"VisKoord2", &TKavCfg::VisKoord2},
    {"Mode", &TKavCfg::Mode},
    {"ADCFreq", &TKavCfg::ADCFreq},
    {"ADCEnable", &TKavCfg::ADCEnable},
    {"RazvUnit", &TKavCfg::RazvUnit},
    {"AmpUnit", &TKavCfg::AmpUnit},
    {"CorrUnit", &TKavCfg::CorrUnit},
    {"ADCUnit", &TKavCfg::ADCUnit},
    {"AutoSave", &TKavCfg::AutoSave},
    {"SaveStep", &TKavCfg::SaveStep},
    {"NameMask", &TKavCfg::NameMask},
    {"NumbMask", &TKavCfg::NumbMask},
    {"EnableRTLPF", &TKavCfg::EnableRTLPF},
    {"EnableRTSum", &TKavCfg::EnableRTSum},
    {"RTLPFConst", &TKavCfg::RTLPFConst},
    {"RTNumb", &TKavCfg::RTNumb},
    {"FindMaxNoise", &TKavCfg::FindMaxNoise},
    {"FindMaxStep", &TKavCfg::FindMaxStep},
    {"LPFConst", &TKavCfg::LPFConst},
    {"GlissConst", &TKavCfg::GlissConst},
    {"AutoGliss", &TKavCfg::AutoGliss},
    {"AutoMinMax", &TKavCfg::AutoMinMax},
    {"AutoTibaTitan", &TKavCfg::AutoTibaTitan},
    {"ShowFirst", &TKavCfg::ShowFirst},
};

const TKey<TKavCfg> MarginKeys[] = {
    {"PrnL", &TKavCfg::PrnL},
    {"PrnR", &TKavCfg::PrnR},
    {"PrnT", &TKavCfg::PrnT},
    {"PrnB", &TKavCfg::PrnB},
};

// The keys of the fit and comparison colours come after the plot's: a file
// written before them keeps its keys in their order, and reads with the
// defaults for the new ones.
const char* const ColorKeys[] = {"BackGround",  "Border",   "Graph",    "AddGraph", "Text",
                                 "ADC2",        "Grid",     "Visir1",   "Visir2",   "FitGraph",
                                 "FitResidual", "RefGraph", "DiffGraph"};

TColorValue TColorSet::*const ColorFields[] = {
    &TColorSet::BackGround, &TColorSet::Border,   &TColorSet::Graph,       &TColorSet::AddGraph,
    &TColorSet::Text,       &TColorSet::ADC2,     &TColorSet::Grid,        &TColorSet::Visir1,
    &TColorSet::Visir2,     &TColorSet::FitGraph, &TColorSet::FitResidual, &TColorSet::RefGraph,
    &TColorSet::DiffGraph,
};

const QString PlaceSections[] = {QStringLiteral("Position"), QStringLiteral("MsgWindow"),
                                 QStringLiteral("ADCWindow")};
const QString PortSection = QStringLiteral("Port");
const QString MainSection = QStringLiteral("Main");
const QString RecentSection = QStringLiteral("RecentFiles");
const QString FitSection = QStringLiteral("LineFit");
const QString CompareSection = QStringLiteral("Compare");

TWindowPlace TKavCfg::*const PlaceFields[] = {&TKavCfg::Position, &TKavCfg::MsgWindow,
                                              &TKavCfg::ADCWindow};

// The unit sections in file order with the records they hold.
template <typename Cfg> auto UnitSections(Cfg& cfg) {
    using Unit = std::conditional_t<std::is_const_v<Cfg>, const TMeasureUnit, TMeasureUnit>;
    std::vector<std::pair<QString, Unit*>> out;
    for (int i = 0; i < RazvUnitCount; ++i)
        out.emplace_back(QStringLiteral("RazvUnit%1").arg(i), &cfg.RazvUnits[i]);
    for (int i = 0; i < AmpUnitCount; ++i)
        out.emplace_back(QStringLiteral("AmpUnit%1").arg(i), &cfg.AmpUnits[i]);
    for (int i = 0; i < CorrUnitCount; ++i)
        out.emplace_back(QStringLiteral("CorrUnit%1").arg(i), &cfg.CorrUnits[i]);
    for (int i = 0; i < ADCUnitCount; ++i)
        out.emplace_back(QStringLiteral("ADCUnit%1").arg(i), &cfg.ADCUnits[i]);
    return out;
}

template <typename Record, std::size_t N>
void ReadKeys(const TIniFile& ini, const QString& section, const TKey<Record> (&keys)[N],
              Record& record) {
    for (const TKey<Record>& key : keys) {
        const QString name = QLatin1String(key.Name);
        std::visit(
            [&](auto member) {
                auto& field = record.*member;
                using T = std::remove_reference_t<decltype(field)>;
                if constexpr (std::is_same_v<T, QString>)
                    field = ini.ReadString(section, name, field);
                else if constexpr (std::is_same_v<T, bool>)
                    field = ini.ReadBool(section, name, field);
                else if constexpr (std::is_enum_v<T>)
                    field = static_cast<T>(
                        ini.ReadInteger(section, name, static_cast<std::int32_t>(field)));
                else
                    field = static_cast<T>(ini.ReadInteger(section, name, field));
            },
            key.Field);
    }
}

template <typename Record, std::size_t N>
void WriteKeys(TIniFile& ini, const QString& section, const TKey<Record> (&keys)[N],
               const Record& record) {
    for (const TKey<Record>& key : keys) {
        const QString name = QLatin1String(key.Name);
        std::visit(
            [&](auto member) {
                const auto& field = record.*member;
                using T = std::remove_cv_t<std::remove_reference_t<decltype(field)>>;
                if constexpr (std::is_same_v<T, QString>)
                    ini.WriteString(section, name, field);
                else if constexpr (std::is_same_v<T, bool>)
                    ini.WriteBool(section, name, field);
                else
                    ini.WriteInteger(section, name, static_cast<std::int32_t>(field));
            },
            key.Field);
    }
}

void ReadColors(const TIniFile& ini, const QString& section, TColorSet& colors) {
    for (std::size_t i = 0; i < std::size(ColorKeys); ++i) {
        TColorValue& c = colors.*ColorFields[i];
        c = static_cast<TColorValue>(
            ini.ReadInteger(section, QLatin1String(ColorKeys[i]), static_cast<std::int32_t>(c)));
    }
}

void WriteColors(TIniFile& ini, const QString& section, const TColorSet& colors) {
    // Written as the 32 bits read them back: a colour with its top bit set
    // (never one of the program's own) goes out as a negative number.
    for (std::size_t i = 0; i < std::size(ColorKeys); ++i)
        ini.WriteInteger(section, QLatin1String(ColorKeys[i]),
                         static_cast<std::int32_t>(colors.*ColorFields[i]));
}

struct TColorSection {
    const char* Name;
    TColorSet TKavCfg::*Field;
};

const TColorSection ColorSections[] = {
    {"DisplayColors", &TKavCfg::DisplayColors},
    {"PrinterColors", &TKavCfg::PrinterColors},
    {"BMPColors", &TKavCfg::BMPColors},
};

// "LineFit": a value outside its range keeps the field's value, so a
// hand-edited file never asks for five lines or a shape that does not exist.
void ReadFitSettings(const TIniFile& ini, TFitSettings& fit, QChar decimalSep) {
    const std::int32_t lines =
        ini.ReadInteger(FitSection, QStringLiteral("LineCount"), fit.LineCount);
    if (lines >= MinFitLines && lines <= MaxFitLines)
        fit.LineCount = static_cast<std::uint8_t>(lines);
    const std::int32_t shape =
        ini.ReadInteger(FitSection, QStringLiteral("LineShape"), static_cast<int>(fit.Shape));
    if (shape >= 0 && shape < LineShapeCount)
        fit.Shape = static_cast<TLineShape>(shape);
    const double mhz =
        ini.ReadFloat(FitSection, QStringLiteral("FrequencyMHz"), fit.FrequencyMHz, decimalSep);
    if (mhz >= 0 && std::isfinite(mhz))
        fit.FrequencyMHz = mhz;
}

void WriteFitSettings(TIniFile& ini, const TFitSettings& fit, QChar decimalSep) {
    ini.WriteInteger(FitSection, QStringLiteral("LineCount"), fit.LineCount);
    ini.WriteInteger(FitSection, QStringLiteral("LineShape"), static_cast<int>(fit.Shape));
    ini.WriteFloat(FitSection, QStringLiteral("FrequencyMHz"), fit.FrequencyMHz, decimalSep);
}

// "Compare": like "LineFit", a value outside its range keeps the field's
// value; a flag is on for any integer but 0, as every flag of the file.
void ReadCompareSettings(const TIniFile& ini, TCompareSettings& compare, QChar decimalSep) {
    const std::int32_t normalization = ini.ReadInteger(
        CompareSection, QStringLiteral("Normalization"), static_cast<int>(compare.Normalization));
    if (normalization >= 0 && normalization < NormalizationCount)
        compare.Normalization = static_cast<TNormalization>(normalization);
    compare.FindShift =
        ini.ReadBool(CompareSection, QStringLiteral("FindShift"), compare.FindShift);
    compare.ShowDifference =
        ini.ReadBool(CompareSection, QStringLiteral("ShowDifference"), compare.ShowDifference);
    const double spins = ini.ReadFloat(CompareSection, QStringLiteral("ReferenceSpins"),
                                       compare.ReferenceSpins, decimalSep);
    if (spins >= 0 && std::isfinite(spins))
        compare.ReferenceSpins = spins;
}

void WriteCompareSettings(TIniFile& ini, const TCompareSettings& compare, QChar decimalSep) {
    ini.WriteInteger(CompareSection, QStringLiteral("Normalization"),
                     static_cast<int>(compare.Normalization));
    ini.WriteBool(CompareSection, QStringLiteral("FindShift"), compare.FindShift);
    ini.WriteBool(CompareSection, QStringLiteral("ShowDifference"), compare.ShowDifference);
    ini.WriteFloat(CompareSection, QStringLiteral("ReferenceSpins"), compare.ReferenceSpins,
                   decimalSep);
}

} // namespace

void ReadSettings(const TIniFile& ini, TKavCfg& cfg, TRecentFiles& recent, QChar decimalSep) {
    for (std::size_t i = 0; i < std::size(PlaceSections); ++i)
        ReadKeys(ini, PlaceSections[i], PlaceKeys, cfg.*PlaceFields[i]);

    for (auto& [section, unit] : UnitSections(cfg)) {
        unit->X1 = ini.ReadFloat(section, QStringLiteral("X1"), unit->X1, decimalSep);
        unit->X2 = ini.ReadFloat(section, QStringLiteral("X2"), unit->X2, decimalSep);
        unit->KoeffK = ini.ReadFloat(section, QStringLiteral("KoeffK"), unit->KoeffK, decimalSep);
        unit->KoeffB = ini.ReadFloat(section, QStringLiteral("KoeffB"), unit->KoeffB, decimalSep);
        unit->Name =
            ini.ReadString(section, QStringLiteral("Name"), unit->Name).left(UnitNameMaxLength);
    }

    for (const TColorSection& s : ColorSections)
        ReadColors(ini, QLatin1String(s.Name), cfg.*s.Field);

    cfg.Port = DefaultComSettings();
    ReadKeys(ini, PortSection, PortKeys, cfg.Port);
    cfg.Port.PortName = HeldPortName(cfg.Port.PortName);
    // A BaudRate outside the table is kept as read: the port holds such a
    // rate at 9600 baud and says so.

    ReadKeys(ini, MainSection, MainKeys, cfg);
    if (ini.HasKey(MainSection, QStringLiteral("Orientation")))
        cfg.Orientation =
            ini.ReadInteger(MainSection, QStringLiteral("Orientation"), 0) == 0 ? 0 : 1;
    ReadKeys(ini, MainSection, MarginKeys, cfg);
    // A missing or unknown language is Russian, and is written back so.
    cfg.Language = ParseLanguage(ini.ReadString(MainSection, QStringLiteral("Language"), QString()))
                       .value_or(TLanguage::Ru);
    ReadFitSettings(ini, cfg.Fit, decimalSep);
    ReadCompareSettings(ini, cfg.Compare, decimalSep);

    for (int i = 0; i < RecentFilesMax && recent.size() < RecentFilesMax; ++i) {
        if (const auto entry = ini.Value(RecentSection, QString::number(i)))
            recent.append(*entry);
    }
}

void WriteSettings(TIniFile& ini, const TKavCfg& cfg, const TRecentFiles& recent,
                   QChar decimalSep) {
    for (std::size_t i = 0; i < std::size(PlaceSections); ++i)
        WriteKeys(ini, PlaceSections[i], PlaceKeys, cfg.*PlaceFields[i]);

    for (const auto& [section, unit] : UnitSections(cfg)) {
        ini.WriteFloat(section, QStringLiteral("X1"), unit->X1, decimalSep);
        ini.WriteFloat(section, QStringLiteral("X2"), unit->X2, decimalSep);
        ini.WriteFloat(section, QStringLiteral("KoeffK"), unit->KoeffK, decimalSep);
        ini.WriteFloat(section, QStringLiteral("KoeffB"), unit->KoeffB, decimalSep);
        ini.WriteString(section, QStringLiteral("Name"), unit->Name);
    }

    for (const TColorSection& s : ColorSections)
        WriteColors(ini, QLatin1String(s.Name), cfg.*s.Field);

    WriteKeys(ini, PortSection, PortKeys, cfg.Port);

    WriteKeys(ini, MainSection, MainKeys, cfg);
    ini.WriteInteger(MainSection, QStringLiteral("Orientation"), cfg.Orientation == 0 ? 0 : 1);
    WriteKeys(ini, MainSection, MarginKeys, cfg);
    // Russian, the default, leaves a file that never named a language as
    // it was; a language the file named is written back (an unknown one
    // as "ru").
    if (cfg.Language != TLanguage::Ru || ini.HasKey(MainSection, QStringLiteral("Language")))
        ini.WriteString(MainSection, QStringLiteral("Language"), LanguageCode(cfg.Language));
    WriteFitSettings(ini, cfg.Fit, decimalSep);
    WriteCompareSettings(ini, cfg.Compare, decimalSep);

    for (qsizetype i = 0; i < recent.size(); ++i)
        ini.WriteString(RecentSection, QString::number(i), recent[i]);
}

namespace {

QString TooLargeText() {
    return QCoreApplication::translate("SettingsStore", "в нём больше %1 байт")
        .arg(MaxSettingsFileBytes);
}

} // namespace

TSettingsRead ReadSettingsFile(const QString& path, QByteArray& bytes, QString* reason) {
    TInputFile input = ReadInputFile(path, MaxSettingsFileBytes);
    switch (input.Outcome) {
    case TInputOutcome::Read:
        bytes = std::move(input.Bytes);
        return TSettingsRead::Read;
    case TInputOutcome::NotFound:
        return TSettingsRead::Missing;
    case TInputOutcome::TooLarge:
        input.Reason = TooLargeText();
        break;
    case TInputOutcome::NotRegular:
    case TInputOutcome::Failed:
        break;
    }
    if (reason)
        *reason = input.Reason;
    return TSettingsRead::Refused;
}

bool LoadSettings(TKavCfg& cfg, TRecentFiles& recent, const QString& path, QChar decimalSep,
                  QString* error) {
    QByteArray bytes;
    QString reason;
    switch (ReadSettingsFile(path, bytes, &reason)) {
    case TSettingsRead::Missing:
        return true;
    case TSettingsRead::Refused:
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, reason);
        return false;
    case TSettingsRead::Read:
        break;
    }
    ReadSettings(TIniFile::FromBytes(bytes), cfg, recent, decimalSep);
    return true;
}

bool SaveSettings(const TKavCfg& cfg, const TRecentFiles& recent, const QString& path,
                  QChar decimalSep, QString* error) {
    auto fail = [&](const QString& reason) {
        if (error)
            *error =
                QCoreApplication::translate("SettingsStore", "Ошибка записи файла настроек %1: %2")
                    .arg(path, reason);
        return false;
    };

    // The keys the save does not write are kept, so the file is read first.
    // A file that is there but cannot be read is not replaced: its keys
    // would be lost.
    TIniFile ini;
    QByteArray previous;
    QString reason;
    switch (ReadSettingsFile(path, previous, &reason)) {
    case TSettingsRead::Refused:
        return fail(reason);
    case TSettingsRead::Read:
        ini = TIniFile::FromBytes(previous);
        break;
    case TSettingsRead::Missing:
        break;
    }

    WriteSettings(ini, cfg, recent, decimalSep);

    if (!WriteFileAtomically(path, ini.ToBytes(), &reason))
        return fail(reason);
    return true;
}

QString SettingsFilePath() {
    return QDir::current().absoluteFilePath(QStringLiteral("Kav.ini"));
}
