// Fuzz target: the meter file reader and the day graphs made from what it read.
#include "core/graphs/MeterFile.h"
#include "core/Messages.h"

#include <QTimeZone>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace korvan;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    MeterReadOptions options;
    options.zone = QTimeZone("Europe/Berlin");
    MeterData meter;
    try {
        meter = readMeterText(bytes, options);
    } catch (const KorvanError &) {
        return 0;
    }
    for (const auto kind : {MeterDayChoice::Kind::Date, MeterDayChoice::Kind::Workdays, MeterDayChoice::Kind::MaxDay}) {
        MeterDayChoice choice;
        choice.kind = kind;
        for (const double hours : {0.5, 1.0}) {
            try {
                meterDayGraph(meter, choice, hours);
            } catch (const KorvanError &) {
            }
        }
    }
    return 0;
}
