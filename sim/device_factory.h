#pragma once

#include "link/clock.h"
#include "link/serial_device.h"

#include <cstdint>

// The devices behind port names: "SIM" is the simulated spectrometer, every
// other name a serial line on QSerialPort.
TDeviceFactory DefaultDeviceFactory(const TClock& clock = SteadyClock(), std::uint64_t simSeed = 1);
