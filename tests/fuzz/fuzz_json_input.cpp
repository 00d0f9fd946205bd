// Fuzz target: the strict JSON reader and the shape checks of both inputs (import and
// catalogue-import). Any bytes must end in a value or a refusal, never in a crash.
#include "cli/JsonReader.h"
#include "cli/JsonShape.h"
#include "core/Messages.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QJsonValue value;
    try {
        value = korvan::cli::parseJsonText(bytes, QStringLiteral("fuzz"));
    } catch (const korvan::KorvanError &) {
        return 0;
    }
    for (const korvan::cli::JsonInput *input : {&korvan::cli::projectInput(), &korvan::cli::catalogueInput()}) {
        try {
            korvan::cli::checkJson(*input, value);
        } catch (const korvan::KorvanError &) {
        }
    }
    return 0;
}
