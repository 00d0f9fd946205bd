// Fuzz target: the catalogue import, from the bytes of its file to the rows of an in-memory
// store. Each input runs inside a transaction that is rolled back, so every input meets the
// same delivered catalogue.
#include "cli/CliCatalogue.h"
#include "cli/JsonReader.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/Messages.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

// The catalogue's hooks refuse with a message box; here it goes nowhere.
class Silent : public korvan::MessageSink {
public:
    void error(const QString &) override {}
    void information(const QString &) override {}
    void warning(const QString &) override {}
    bool question(const QString &) override { return false; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace korvan;
    static int argc = 1;
    static char name[] = "fuzz_catalogue_import";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static Silent silent;
    static MessageSink *installed = Messages::install(&silent);
    Q_UNUSED(installed);
    static const std::unique_ptr<Store> store = Store::openMemory();
    static TDataModule1 module(*store);

    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QJsonValue input;
    try {
        input = cli::parseJsonText(bytes, QStringLiteral("fuzz"));
    } catch (const KorvanError &) {
        return 0;
    }
    Store::Transaction tx(*store);
    try {
        cli::importCatalogueJson(module, input);
    } catch (const KorvanError &) {
    } catch (const Abort &) {
    }
    return 0; // the transaction is never committed
}
