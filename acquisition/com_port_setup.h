#pragma once

#include "config/kav_cfg.h"

#include <QString>
#include <QStringList>
#include <cstdint>

// The rules of the COM port dialog ("Настройка COM-порта"): what its two
// lists offer and how its entries become the port settings.

// Numbered names offered first, COM1..COM16.
inline constexpr int ComChoiceCount = 16;

// The port box's list: COM1..COM16, then the given device paths (the serial
// devices of this machine, SerialDevicePaths), then the simulated
// spectrometer "SIM".
QStringList ComPortChoices(const QStringList& devicePaths);

// The rate box's list: the rates of BaudTable as decimal text, in table
// order.
QStringList BaudRateChoices();
// The text the rate box shows for an index; an index outside the table shows
// the rate the port would use for it (9600).
QString BaudRateText(int index);
// "Принять": the index of the table entry whose decimal text equals the
// rate box's text (blanks around it ignored); a text matching no entry (a
// rate typed by hand) keeps current.
std::uint8_t BaudIndexOfText(const QString& text, std::uint8_t current);

// The dialog's two values written into the port settings: the name as the
// settings hold it (HeldPortName; blanks around it dropped) and the index.
void ApplyComChoice(TComSettings& port, const QString& name, std::uint8_t baudIndex);
