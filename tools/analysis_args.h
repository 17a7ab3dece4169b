#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

// Options of kavtool fit and kavtool compare that ParseArgs does not take:
// flags without a value and the two values of --visirs. Each is taken out
// of the arguments, so that what is left goes through ParseArgs.

// Whether the flag was given; every occurrence is removed.
bool TakeFlag(QStringList& args, const QString& flag);

// "--visirs A B": false, with the error, when the two sweep codes are
// missing or outside 0..65535.
bool TakeVisirs(QStringList& args, bool& given, std::uint16_t& a, std::uint16_t& b, QString& error);

// A number for an option: finite and above 0.
bool ParsePositive(const QString& text, double& value);
