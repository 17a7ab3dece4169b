#pragma once

#include "base/measure_unit.h"
#include "config/ini_file.h"
#include "config/kav_cfg.h"

#include <QChar>
#include <QString>

// The built-in port settings: "COM1", 9600 baud (index 5), no parity, one
// stop bit, every control off, poll period 1000 ms, slave address 1.
TComSettings DefaultComSettings();

// Fills a value-initialised (all zero) record with the built-in defaults.
// workDir is the process's current directory at start-up.
void SetDefaults(TKavCfg& cfg, const QString& workDir);

// The largest settings file read: a real one, with twenty recent files of
// the longest names, is a small fraction of it. Anything larger is no
// settings file (an endless device named by mistake, a log) and is refused.
inline constexpr qint64 MaxSettingsFileBytes = 1024 * 1024;

enum class TSettingsRead { Read, Missing, Refused };

// The bytes of a settings file, read without blocking and with the bound
// above. Missing: nothing by that name. Refused, with the reason: a
// directory, FIFO or device ("Is a FIFO"), a file too large, or one the
// system does not let us read.
TSettingsRead ReadSettingsFile(const QString& path, QByteArray& bytes, QString* reason = nullptr);

// Reads the settings file into the record and appends its recent files.
// A missing file changes nothing. A file that is there but cannot be read
// (a directory, a FIFO or device, a file larger than MaxSettingsFileBytes,
// no permission) changes nothing either, and returns false with the path
// and the reason in *error. A key that is missing or
// does not parse keeps the field's value, except in "Port", which starts
// from DefaultComSettings. Texts longer than their field are cut.
bool LoadSettings(TKavCfg& cfg, TRecentFiles& recent, const QString& path, QChar decimalSep,
                  QString* error = nullptr);

// The same from and into an ini text held in memory; WriteSettings writes
// every key the save writes and leaves the others.
void ReadSettings(const TIniFile& ini, TKavCfg& cfg, TRecentFiles& recent, QChar decimalSep);
void WriteSettings(TIniFile& ini, const TKavCfg& cfg, const TRecentFiles& recent, QChar decimalSep);

// Writes the record and the recent files, keeping every key the save does
// not write. The write is atomic: on failure the previous file stays whole,
// false is returned and *error (when given) names the file and the reason.
bool SaveSettings(const TKavCfg& cfg, const TRecentFiles& recent, const QString& path,
                  QChar decimalSep, QString* error = nullptr);

// "Kav.ini" in the process's current directory at the moment of the call.
QString SettingsFilePath();

// Sweep units 0..3 -> 4..7 and ADC units 0..4 -> 5..9, and back.
void SaveUnitSnapshot(TKavCfg& cfg);
void RestoreUnitSnapshot(TKavCfg& cfg);
