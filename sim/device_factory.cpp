#include "sim/device_factory.h"

#include "link/qt_serial_device.h"
#include "sim/sim_device.h"

TDeviceFactory DefaultDeviceFactory(const TClock& clock, std::uint64_t simSeed) {
    const TClock* clockRef = &clock;
    return [clockRef, simSeed](const QString& name) -> std::unique_ptr<SerialDevice> {
        if (IsSimPortName(name))
            return std::make_unique<TSimDevice>(*clockRef, simSeed);
        return std::make_unique<TQtSerialDevice>();
    };
}
